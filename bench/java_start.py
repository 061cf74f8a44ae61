#!/usr/bin/env python3
"""Time from process start to the first line of main(), for one small class started through the
launcher's JNI code (the native host, build/native) and through the JDK's own `java -cp`, 20 runs
each, alternating so that both see the same machine state. Prints both medians and their ratio,
for the host's JDK 17 and for HotSpot 21 and 25 in the bench's Debian tree (tools/setup-bench),
where both commands run through chroot alike; a runtime the tree lacks is reported as skipped.

Then a real application (bench/realapp: JSON, XML and dates with Jackson and Joda-Time from
Debian's packages, some two thousand classes), on the host's JDK 17 (dynamic archive) and on
HotSpot 25 and 26 (ahead-of-time cache): time to main and to the end of its start-up work,
through the JNI code with the archive, without it, through `java -cp` and, from 25 on, through
`java -XX:AOTCache=` with the launcher's own cache, alternating; the first, recording start is
reported apart. `--real-only` runs this part alone, `--small-only` the first."""

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
    """The real application's jar, compiled against the packaged libraries, and those libraries,
    copied into `work` (inside the project folder, so that the bench tree sees them too); its
    class path."""
    libraries = [os.path.join("/usr/share/java", name + ".jar") for name in REAL_LIBRARIES]
    missing = [path for path in libraries if not os.path.exists(path)]
    if missing:
        sys.exit("java_start: missing " + ", ".join(missing) + " (tools/install-deps installs them)")
    bin_folder = os.path.dirname(java_command())
    source = os.path.join(ROOT, "bench", "realapp", "benchapp", "RealStart.java")
    classes = os.path.join(work, "classes")
    subprocess.run([os.path.join(bin_folder, "javac"), "--release", "17", "-cp", ":".join(libraries), "-d", classes,
                    source], check=True)
    jar = os.path.join(work, "realapp.jar")
    subprocess.run([os.path.join(bin_folder, "jar"), "cf", jar, "-C", classes, "benchapp"], check=True)
    copies = []
    for library in libraries:
        copies.append(os.path.join(work, os.path.basename(library)))
        shutil.copyfile(os.path.realpath(library), copies[-1])
    return [jar] + copies


def timed_marks(command):
    """Milliseconds to main, to the end of the start-up work, and to the end of the process."""
    started = time.time_ns()
    output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    ended = (time.time_ns() - started) / 1e6
    marks = {}
    for line in output.splitlines():
        for mark in ("main-at ", "ready-at "):
            if line.startswith(mark):
                marks[mark] = (int(line.split()[1]) * 1000 - started) / 1e6
    return marks.get("main-at ", float("nan")), marks.get("ready-at ", float("nan")), ended


def real_application(name, enter, host_flags, java_binary, version):
    """The real application on one runtime: the launcher's JNI code with its archive (the dynamic
    one before 25, the ahead-of-time cache from 25 on) and without, `java -cp`, and from 25 on
    `java -XX:AOTCache=` with the launcher's own cache; the first, recording start apart."""
    os.makedirs(os.path.join(ROOT, "build"), exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="realapp-", dir=os.path.join(ROOT, "build")) as work:
        class_path = ":".join(build_real_application(work))
        archive = os.path.join(work, "Class Data")
        main_class = "benchapp/RealStart"
        host = enter + [HOST] + host_flags
        java = enter + [java_binary, "-cp", class_path, main_class.replace("/", ".")]
        with_archive = host + ["--class-data-archive", archive, "--archive-class-path", class_path,
                               "--main-class", main_class]
        first = timed_marks(with_archive)
        commands = {
            "launcher with its archive": with_archive,
            "launcher, no archive": host + ["--vm-option", "-Djava.class.path=" + class_path,
                                            "--main-class", main_class],
            "java -cp": java,
        }
        if version >= 25:
            timed_marks(with_archive)  # publishes the cache the first start's assembly wrote
            caches = [f for f in os.listdir(archive) if f.endswith(".aot")]
            if caches:
                commands["java -XX:AOTCache= (same cache)"] = (enter + [java_binary, "-XX:AOTCache=" +
                                                               os.path.join(archive, caches[0])] + java[len(enter) + 1:])
        for command in commands.values():
            timed_marks(command)  # warms the file cache
        times = {key: ([], [], []) for key in commands}
        for _ in range(RUNS):
            for key, command in commands.items():
                for values, value in zip(times[key], timed_marks(command)):
                    values.append(value)
        kind = "ahead-of-time cache" if version >= 25 else "dynamic archive"
        java_ready = statistics.median(times["java -cp"][1])
        print(f"{name}, real application (Jackson, Joda-Time, XML), {kind}, median of {RUNS} alternating runs, ms:")
        print(f"  first start (records): to main {first[0]:.1f}, ready {first[1]:.1f} "
              f"({first[1] / java_ready:.2f} of java -cp), process ends {first[2]:.1f}")
        print(f"  {'':36s} {'to main':>8s} {'to ready':>9s} {'ready / java':>13s}")
        for key, (at_main, ready, _) in times.items():
            print(f"  {key + ':':36s} {statistics.median(at_main):8.1f} {statistics.median(ready):9.1f} "
                  f"{statistics.median(ready) / java_ready:13.2f}")


BENCH_TREE = os.path.join(os.environ.get("LAUNCHER_BENCH", "/srv/launcher-bench"), "sid")
TREE_VERSIONS = [21, 25, 26]


def runtimes():
    """(name, command prefix, extra host flags, java, version) for each runtime: the host's, then the
    tree's."""
    yield "host JDK 17", [], [], java_command(), 17
    # Mounts the project folder and /proc in the tree, if they are not yet.
    entered = subprocess.run([os.path.join(ROOT, "tools", "in-chroot"), "true"], capture_output=True, cwd=ROOT)
    for version in TREE_VERSIONS:
        home = f"/usr/lib/jvm/java-{version}-openjdk-amd64"
        if entered.returncode != 0 or not os.path.exists(BENCH_TREE + home + "/lib/server/libjvm.so"):
            print(f"HotSpot {version}: skipped, not installed in {BENCH_TREE} (tools/setup-bench installs it)")
            continue
        enter = ["chroot", BENCH_TREE, "/usr/bin/env", "-i", "PATH=/usr/bin:/bin", "LANG=C.UTF-8"]
        yield f"HotSpot {version}", enter, ["--libjvm", home + "/lib/server/libjvm.so"], home + "/bin/java", version


def small_class(name, enter, host_flags, java_binary, version):
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
    if not os.path.exists(HOST):
        sys.exit("java_start: build the native preset first (" + HOST + " missing)")
    every = list(runtimes())
    if "--real-only" not in sys.argv:
        for runtime in every:
            small_class(*runtime)
    if "--small-only" not in sys.argv:
        for runtime in every:
            if runtime[4] in (17, 25, 26):
                real_application(*runtime)


if __name__ == "__main__":
    main()
