C #Block SUNAE SUNPOS
C #Description
