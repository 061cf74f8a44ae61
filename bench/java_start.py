#!/usr/bin/env python3
"""Time from process start to the first line of main(), for one small class started through the
launcher's JNI code (the native host, build/native) and through the JDK's own `java -cp`, 20 runs
each, alternating so that both see the same machine state. Prints both medians and their ratio."""

import os
import shutil
import statistics
import subprocess
import sys
import time

RUNS = 20
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "native", "jvm_tests")
HOST = os.path.join(BUILD, "jvm_host")
CLASSES = os.path.join(BUILD, "classes")
MAIN_CLASS = "probe/Startup"


def java_command():
    javac = shutil.which("javac")
    if javac is None:
        sys.exit("java_start: no javac on PATH")
    return os.path.join(os.path.dirname(os.path.realpath(javac)), "java")


def time_to_main(command):
    """Milliseconds from just before the process is started to the moment main() began."""
    started = time.time_ns()
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    for line in output.splitlines():
        if line.startswith("main-at "):
            return (int(line.split()[1]) * 1000 - started) / 1e6
    sys.exit("java_start: no main-at line from " + " ".join(command))


def main():
    if not os.path.exists(HOST):
        sys.exit("java_start: build the native preset first (" + HOST + " missing)")
    host = [HOST, "--vm-option", "-Djava.class.path=" + CLASSES, "--main-class", MAIN_CLASS]
    java = [java_command(), "-cp", CLASSES, MAIN_CLASS.replace("/", ".")]
    time_to_main(host)  # warm the file cache for both
    time_to_main(java)
    host_times, java_times = [], []
    for _ in range(RUNS):
        host_times.append(time_to_main(host))
        java_times.append(time_to_main(java))
    host_median = statistics.median(host_times)
    java_median = statistics.median(java_times)
    print(f"time to main, median of {RUNS} runs:")
    print(f"  launcher JNI code (native host): {host_median:7.1f} ms")
    print(f"  java -cp:                        {java_median:7.1f} ms")
    print(f"  ratio host / java:               {host_median / java_median:7.2f}")


if __name__ == "__main__":
    main()
