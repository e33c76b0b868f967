C #_Subroutine LBWP
C #Description
C   Property routine of lithium-bromide solutions, called by other blocks only.
C #Layout
C #Group none
C #Details
C #end
      subroutine lbwp(t, x, p)
      end
