#!/usr/bin/env python3
"""Time from process start to the first line of main(), for one small class started through the
launcher's JNI code (the native host, build/native) and through the JDK's own `java -cp`, 20 runs
each, alternating so that both see the same machine state. Prints both medians and their ratio,
for the host's JDK 17 and for HotSpot 21 and 25 in the bench's Debian tree (tools/setup-bench),
where both commands run through chroot alike; a runtime the tree lacks is reported as skipped.

Then a real application (bench/realapp: JSON, XML and dates with Jackson and Joda-Time from
Debian's packages, some two thousand classes): time to main and to the end of its start-up work,
through the JNI code with the class-data archive, without it, and through `java -cp`, alternating;
`--real-only` runs this part alone, `--small-only` the first."""

import os
import shutil
import tempfile
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


def time_to_main(command, mark="main-at "):
    """Milliseconds from just before the process is started to the moment main() printed `mark`."""
    started = time.time_ns()
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    for line in output.splitlines():
        if line.startswith(mark):
            return (int(line.split()[1]) * 1000 - started) / 1e6
    sys.exit("java_start: no " + mark + "line from " + " ".join(command))


REAL_LIBRARIES = ["jackson-databind", "jackson-core", "jackson-annotations", "joda-time"]


def build_real_application(work):
    """The real application's jar, compiled against the packaged libraries; its class path."""
    libraries = [os.path.join("/usr/share/java", name + ".jar") for name in REAL_LIBRARIES]
    missing = [path for path in libraries if not os.path.exists(path)]
    if missing:
        sys.exit("java_start: missing " + ", ".join(missing) + " (tools/install-deps installs them)")
    bin_folder = os.path.dirname(java_command())
    source = os.path.join(ROOT, "bench", "realapp", "benchapp", "RealStart.java")
    classes = os.path.join(work, "classes")
    subprocess.run([os.path.join(bin_folder, "javac"), "-cp", ":".join(libraries), "-d", classes, source], check=True)
    jar = os.path.join(work, "realapp.jar")
    subprocess.run([os.path.join(bin_folder, "jar"), "cf", jar, "-C", classes, "benchapp"], check=True)
    return [jar] + libraries


def real_application():
    with tempfile.TemporaryDirectory(prefix="realapp-") as work:
        class_path = ":".join(build_real_application(work))
        archive = os.path.join(work, "Class Data")
        main_class = "benchapp/RealStart"
        commands = {
            "launcher JNI code with archive": [HOST, "--class-data-archive", archive, "--archive-class-path",
                                               class_path, "--main-class", main_class],
            "launcher JNI code, no archive": [HOST, "--vm-option", "-Djava.class.path=" + class_path,
                                              "--main-class", main_class],
            "java -cp": [java_command(), "-cp", class_path, main_class.replace("/", ".")],
        }
        # The first start writes the archive; it and one run of each warm the file cache.
        for command in commands.values():
            time_to_main(command)
        times = {name: {"main-at ": [], "ready-at ": []} for name in commands}
        for _ in range(RUNS):
            for name, command in commands.items():
                started = time.time_ns()
                output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
                for line in output.splitlines():
                    for mark in times[name]:
                        if line.startswith(mark):
                            times[name][mark].append((int(line.split()[1]) * 1000 - started) / 1e6)
        java = {mark: statistics.median(values) for mark, values in times["java -cp"].items()}
        print(f"real application (Jackson, Joda-Time, XML), median of {RUNS} alternating runs, ms:")
        print(f"  {'':32s} {'to main':>8s} {'to ready':>9s} {'ready / java':>13s}")
        for name, marks in times.items():
            at_main = statistics.median(marks["main-at "])
            ready = statistics.median(marks["ready-at "])
            print(f"  {name + ':':32s} {at_main:8.1f} {ready:9.1f} {ready / java['ready-at ']:13.2f}")


BENCH_TREE = os.path.join(os.environ.get("LAUNCHER_BENCH", "/srv/launcher-bench"), "sid")
TREE_VERSIONS = [21, 25]


def runtimes():
    """(name, command prefix, extra host flags, java) for each runtime: the host's, then the tree's."""
    yield "host JDK", [], [], java_command()
    # Mounts the project folder and /proc in the tree, if they are not yet.
    entered = subprocess.run([os.path.join(ROOT, "tools", "in-chroot"), "true"], capture_output=True, cwd=ROOT)
    for version in TREE_VERSIONS:
        home = f"/usr/lib/jvm/java-{version}-openjdk-amd64"
        if entered.returncode != 0 or not os.path.exists(BENCH_TREE + home + "/lib/server/libjvm.so"):
            print(f"HotSpot {version}: skipped, not installed in {BENCH_TREE} (tools/setup-bench installs it)")
            continue
        enter = ["chroot", BENCH_TREE, "/usr/bin/env", "-i", "PATH=/usr/bin:/bin", "LANG=C.UTF-8"]
        yield f"HotSpot {version}", enter, ["--libjvm", home + "/lib/server/libjvm.so"], home + "/bin/java"


def small_class(name, enter, host_flags, java_binary):
    host = enter + [HOST] + host_flags + ["--vm-option", "-Djava.class.path=" + CLASSES, "--main-class", MAIN_CLASS]
    java = enter + [java_binary, "-cp", CLASSES, MAIN_CLASS.replace("/", ".")]
    time_to_main(host)  # warm the file cache for both
    time_to_main(java)
    host_times, java_times = [], []
    for _ in range(RUNS):
        host_times.append(time_to_main(host))
        java_times.append(time_to_main(java))
    host_median = statistics.median(host_times)
    java_median = statistics.median(java_times)
    print(f"{name}: time to main, median of {RUNS} alternating runs:")
    print(f"  launcher JNI code (native host): {host_median:7.1f} ms")
    print(f"  java -cp:                        {java_median:7.1f} ms")
    print(f"  ratio host / java:               {host_median / java_median:7.2f}")


def main():
    if "--real-only" in sys.argv:
        if not os.path.exists(HOST):
            sys.exit("java_start: build the native preset first (" + HOST + " missing)")
        real_application()
        return
    if not os.path.exists(HOST):
        sys.exit("java_start: build the native preset first (" + HOST + " missing)")
    for runtime in runtimes():
        small_class(*runtime)
    if "--small-only" not in sys.argv:
        real_application()


if __name__ == "__main__":
    main()
