; two errors
START: NOP
 FOO 1
 JMP NOWHERE
