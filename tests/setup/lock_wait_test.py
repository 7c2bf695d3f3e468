#!/usr/bin/python3
"""scripts/install-deps waits while another package manager holds dpkg's
frontend lock, says so once, goes on when the lock is let go, and gives up
at its deadline naming the holder. The lock is held here as apt holds it,
with an fcntl write lock; nothing is installed.
Usage: lock_wait_test.py SOURCE"""
import fcntl
import os
import select
import subprocess
import sys
import time

LOCK = "/var/lib/dpkg/lock-frontend"
WAITING = ("install-deps: another package manager is running; "
           "waiting for it to finish (up to 1 minute)")


def start(source, timeout):
    return subprocess.Popen([os.path.join(source, "scripts", "install-deps"), "--wait-for-locks"],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                            env={**os.environ, "INSTALL_DEPS_LOCK_TIMEOUT": str(timeout)})


def first_line(process, seconds):
    ready, _, _ = select.select([process.stdout], [], [], seconds)
    return process.stdout.readline().rstrip("\n") if ready else None


def main(source):
    results = []

    def expect(what, ok):
        print(("ok: " if ok else "FAILED: ") + what)
        results.append(ok)

    free = start(source, 60)
    expect("with the locks free it returns at once, silent",
           free.wait(10) == 0 and free.stdout.read() == "")

    with open(LOCK, "a") as lock:
        fcntl.lockf(lock, fcntl.LOCK_EX)
        waiting = start(source, 60)
        expect("it says once that it waits", first_line(waiting, 10) == WAITING)
        time.sleep(2)
        expect("it waits while the lock is held", waiting.poll() is None)
        fcntl.lockf(lock, fcntl.LOCK_UN)
        expect("it goes on once the lock is let go", waiting.wait(10) == 0)
        expect("it said so only once", waiting.stdout.read() == "")

        fcntl.lockf(lock, fcntl.LOCK_EX)
        late = start(source, 1)
        _, error = late.communicate(timeout=20)
        expect("at the deadline it stops with a failure", late.returncode == 1)
        expect("and names the holder and the lock: " + error.strip(),
               "process %d (%s)" % (os.getpid(), open("/proc/self/comm").read().strip()) in error
               and LOCK in error and error.count("\n") == 1)
    print("%d passed, %d failed" % (results.count(True), results.count(False)))
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main(sys.argv[1])
