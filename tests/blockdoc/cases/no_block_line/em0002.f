C #Description
C   A header that names no block writes no page and is an error.
      subroutine em0002
      end
