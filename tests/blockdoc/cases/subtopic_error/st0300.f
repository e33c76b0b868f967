C #Block HXS HXSN
C #Description
C   Shared description.
C #Layout HXD
C #Inputs 2
