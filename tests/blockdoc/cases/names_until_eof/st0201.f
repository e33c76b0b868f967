C #Name TEE
C   TEE2
