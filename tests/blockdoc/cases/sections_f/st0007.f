C Heat exchangers of constant effectiveness
C
C #Block HXC, HXCN
C       HXCE
C #Description HXCN
C   Counter-flow heat exchanger whose effectiveness is
C   given by the first parameter.
C #Description
C   Heat exchanger of constant effectiveness.
C
C   Second paragraph.
C #Layout
C #Inputs 4
C #Outputs 3
C #Input 9
C   plain text in the layout is ignored
C #Parameters 1
C #Strings 0
C #Group S
C #Details
C #Inputs
C #IN(1) Inlet temperature of the hot side in C
C #IN(2) Mass flow of the hot side in kg/s
C        continued on a plain line
C #Outputs
C #OUT(1) Outlet temperature
C #Parameters HXCN
C #BP(1) Effectiveness of the counter-flow exchanger
C #Parameters
C #BP(1) Effectiveness
C #Strings
C #None
C #Notes
C   skipped up to the remarks
C #Remarks HXCE
C   Only for HXCE.
C #Remarks
C   Valid for steady flow.
C #end
      subroutine st0007(IN, OUT, IP, RP, DP, BP, SP)
      end
