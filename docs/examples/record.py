#!/usr/bin/env python3
"""Records a terminal session of a TARV program, as the guide shows them.

    python3 record.py PROGRAM < SCRIPT > TRANSCRIPT

Starts PROGRAM on a pseudo-terminal and types the lines of SCRIPT one by one,
each as soon as the program has been quiet for 0.4 s (so every computation in
a script must be quick).  Prints everything the terminal showed: the
program's standard output and standard error as they came, and the typed
lines as the terminal echoes them.  The exit status goes to standard error.
The program's byte 0xE6 (the root of unity in TARV_QN) is printed as the
character it is in Latin-1."""
import os, pty, sys, select, time

prog = sys.argv[1]
lines = sys.stdin.read().split("\n")
if lines and lines[-1] == "":
    lines.pop()

pid, fd = pty.fork()
if pid == 0:
    os.execv(prog, [prog])

out = bytearray()
def drain(idle):
    while True:
        r, _, _ = select.select([fd], [], [], idle)
        if not r:
            return True
        try:
            data = os.read(fd, 65536)
        except OSError:
            return False
        if not data:
            return False
        out.extend(data)

alive = drain(0.4)
for line in lines:
    if not alive:
        break
    if line == "<EOF>":
        os.write(fd, b"\x04")
    else:
        os.write(fd, line.encode() + b"\n")
    alive = drain(0.4)
while alive:
    alive = drain(2.0)
    if alive:
        break
_, status = os.waitpid(pid, 0)
text = out.decode("latin-1").replace("\r\n", "\n")
sys.stdout.write(text)
sys.stderr.write("[exit status %d]\n" % os.waitstatus_to_exitcode(status))
