C #Block TRACK
C #Description
C   Tracking of a parabolic trough.
C #Layout
C #Remarks
C   These remarks lie inside the layout and are never written.
C #Inputs 2
C #end
      subroutine pp0003(IN, OUT)
      end
C #Remarks
