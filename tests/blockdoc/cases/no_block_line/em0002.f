C #Description
C   A header that names no block writes no page.
      subroutine em0002
      end
