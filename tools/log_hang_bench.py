#!/usr/bin/python3
"""The longest gap between telegrams while the log's disk hangs.

    log_hang_bench.py SONDREL [HOLD_SECONDS]

Runs `SONDREL --headless` with a Kestrane on one pseudo-terminal, SVP 20 telegrams every 250 ms
to an echosounder on another, and a sample every second into a log on a FUSE file system
(tests/support/hanging_fs.py) whose writes hang for HOLD_SECONDS (30) in the middle of the run.
Prints, tab-separated, the longest gap between two telegrams before, during and after the hang
in milliseconds, and how many lines reached the log.
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time
import tty

HERE = os.path.dirname(os.path.abspath(__file__))
HANGING_FS = os.path.join(HERE, "..", "tests", "support", "hanging_fs.py")
RECORD = b"0042.914\tMS/CM\t000.000\tDBAR\t15.000\tC\r\n"
TELEGRAM = b"150670000000150990000\r\n"
SEND_MS = 250


def pseudo_terminal():
    master, slave = os.openpty()
    tty.setraw(master)
    attributes = termios.tcgetattr(slave)
    tty.setraw(slave)
    termios.tcsetattr(slave, termios.TCSANOW, attributes)
    return master, slave, os.ttyname(slave)


def main():
    sondrel = sys.argv[1]
    hold_seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    work = tempfile.mkdtemp(prefix="sondrel-hang-")
    backing, share, hold = (os.path.join(work, name) for name in ("backing", "share", "hold"))
    os.mkdir(backing)
    os.mkdir(share)
    disk = subprocess.Popen(["/usr/bin/python3", HANGING_FS, backing, share, hold])
    deadline = time.monotonic() + 20
    while share not in open("/proc/self/mounts").read():
        if disk.poll() is not None or time.monotonic() > deadline:
            sys.exit("no FUSE file system can be mounted here")
        time.sleep(0.05)
    instrument, instrument_slave, instrument_path = pseudo_terminal()
    echosounder, echosounder_slave, echosounder_path = pseudo_terminal()
    settings = os.path.join(work, "Sondrel.conf")
    log = os.path.join(share, "cast.txt")
    with open(settings, "w") as file:
        file.write(f"[COM_Port]\nIN=\"41:19200,N,8,1\"\nOUT=\"42:4800,N,8,1\"\n"
                   f"[Ports]\nCOM41={instrument_path}\nCOM42={echosounder_path}\n"
                   f"[Run]\nInput=true\nOutput=true\nTelegram=SVP 20\n"
                   f"SendInterval={SEND_MS}\nLogFile={log}\nSampleInterval=1\n")
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    environment["XDG_DATA_HOME"] = os.path.join(work, "data")
    program = subprocess.Popen([sondrel, "--headless", "--settings", settings],
                               env=environment, stderr=subprocess.DEVNULL)
    phases = [("before", 10.0), ("during", hold_seconds), ("after", 10.0)]
    gaps = {}
    received = b""
    last = None
    try:
        for name, seconds in phases:
            if name == "during":
                open(hold, "w").close()
            elif name == "after" and os.path.exists(hold):
                os.remove(hold)
            longest = 0.0
            end = time.monotonic() + seconds
            next_record = 0.0
            while time.monotonic() < end:
                now = time.monotonic()
                if now >= next_record:
                    os.write(instrument, RECORD)
                    next_record = now + 0.1
                ready, _, _ = select.select([echosounder], [], [], 0.02)
                if ready:
                    received += os.read(echosounder, 4096)
                    while TELEGRAM in received:
                        received = received[received.index(TELEGRAM) + len(TELEGRAM):]
                        now = time.monotonic()
                        if last is not None:
                            longest = max(longest, now - last)
                        last = now
            gaps[name] = longest * 1000
    finally:
        if os.path.exists(hold):
            os.remove(hold)
        program.send_signal(signal.SIGTERM)
        program.wait(timeout=60)
        subprocess.run(["fusermount3", "-uz", share], check=False)
        disk.wait(timeout=20)
    with open(os.path.join(backing, "cast.txt"), "rb") as file:
        lines = file.read().count(b"\n") - 1
    print(f"before_ms\t{gaps['before']:.0f}\nduring_ms\t{gaps['during']:.0f}\n"
          f"after_ms\t{gaps['after']:.0f}\nlogged_lines\t{lines}\nexit_status\t{program.returncode}")


if __name__ == "__main__":
    main()
