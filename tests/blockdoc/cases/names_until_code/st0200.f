C #Block MIX
      subroutine st0200(IN, OUT)
      real IN(*), OUT(*)
      OUT(1) = IN(1)
      end
