#!/usr/bin/python3
"""Records per second that the real program reads through a tcp:// link.

    link_bench.py SONDREL [RECORDS]

Plays a device server in TCP-server mode: `SONDREL --headless` connects to it with tcp://, and
it sends RECORDS (300000) Kestrane records as fast as the connection takes them, the last one
different from the others. The program sends SVP 20 telegrams every 10 ms by UDP; the clock
stops at the first telegram of the last record. Prints, tab-separated: records per second, the
records the program rejected (0 when none was cut or lost), and its resident memory in MiB at
the connection, at its highest and at the end.
"""

import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

RECORD = b"0042.914\tMS/CM\t000.000\tDBAR\t15.000\tC\r\n"
LAST = b"0042.914\tMS/CM\t100.000\tDBAR\t16.000\tC\r\n"
LAST_TELEGRAM = b"151040001000160990000\r\n"


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def main():
    sondrel = sys.argv[1]
    records = int(sys.argv[2]) if len(sys.argv) > 2 else 300000
    server = socket.create_server(("127.0.0.1", 0))
    telegrams = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    telegrams.bind(("127.0.0.1", 0))
    telegrams.settimeout(60)
    with tempfile.TemporaryDirectory() as folder:
        settings = os.path.join(folder, "Sondrel.conf")
        with open(settings, "w") as file:
            file.write(
                '[COM_Port]\nIN="41:19200,N,8,1"\n'
                f"[Ports]\nCOM41=tcp://127.0.0.1:{server.getsockname()[1]}\n"
                f"[Options]\nUdpTarget=127.0.0.1:{telegrams.getsockname()[1]}\nUdpSending=true\n"
                "[Run]\nInput=true\nOutput=false\nTelegram=SVP 20\nSendInterval=10\n"
            )
        environment = dict(os.environ, LC_ALL="C.UTF-8")
        program = subprocess.Popen(
            [sondrel, "--headless", "--settings", settings],
            stderr=subprocess.PIPE,
            env=environment,
        )
        told = []
        reader = threading.Thread(target=lambda: told.extend(program.stderr), daemon=True)
        reader.start()
        server.settimeout(30)
        line, _ = server.accept()
        time.sleep(0.5)
        memory = [resident_mib(program.pid)]
        stop = threading.Event()

        def watch():
            while not stop.is_set():
                memory.append(resident_mib(program.pid))
                time.sleep(0.1)

        watcher = threading.Thread(target=watch, daemon=True)
        watcher.start()
        payload = b"\r\n" + RECORD * (records - 1) + LAST
        start = time.monotonic()
        line.sendall(payload)
        while telegrams.recv(64) != LAST_TELEGRAM:
            pass
        elapsed = time.monotonic() - start
        stop.set()
        watcher.join()
        memory.append(resident_mib(program.pid))
        program.terminate()
        program.wait(30)
        reader.join(5)
        rejected = sum(b"rejected" in entry for entry in told)
        print(
            f"{records / elapsed:.0f}\t{rejected}\t"
            f"{memory[0]:.1f}\t{max(memory):.1f}\t{memory[-1]:.1f}"
        )


if __name__ == "__main__":
    main()
