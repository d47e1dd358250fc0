#!/usr/bin/env python3
# A stand-in for Wine running the bridge (zeilwerk-maker.exe --resident), speaking its pipe
# protocol: the "bridge" file it is given holds what the Maker's dialog shows (UTF-16LE), or
# "none" for no dialog, or "hang" for a bridge that stops answering. A text to type is
# taken and answered as typed.
import sys, time
bridge, out, inp = sys.argv[1], sys.stdout.buffer, sys.stdin.buffer
out.write(b'R'); out.flush()
while True:
    head = inp.read(4)
    if len(head) < 4: break
    n = int.from_bytes(head, 'little')
    if n != 0xFFFFFFFF:
        inp.read(2 * n); out.write(b'0'); out.flush(); continue
    shown = open(bridge, 'rb').read()
    if shown == b'none': out.write(b'1')
    elif shown == b'hang': time.sleep(60)
    else: out.write(b'T' + (len(shown) // 2).to_bytes(4, 'little') + shown)
    out.flush()
