#!/bin/sh
# launcher_start.sh BUILD_DIR: run inside the Wine tree. Times whole starts of launcher64.exe
# that end in the runtime search: with no registered runtime, and with 1,000 registered
# subkeys. Prints the median of each in milliseconds.
build=$1; runs=${RUNS:-15}
dir=$build/bench-launcher-start
rm -rf "$dir"; mkdir -p "$dir/jdk/bin/client"; cd "$dir" || exit 1
cp "$build/launcher64.exe" app.exe
: > jdk/bin/client/jvm.dll
printf '[Java Runtime Environment]\r\nMain Class=com.example.Main\r\n' > app.ini

median_ms() { # median_ms LABEL: times $runs starts of app.exe
    for i in $(seq "$runs"); do
        start=$(date +%s%N); wine app.exe; end=$(date +%s%N)
        echo $(( (end - start) / 1000 ))
    done | sort -n | awk -v label="$1" '{ t[NR] = $1 } END { printf "%-48s median %7.1f ms over %d starts\n", label, t[int((NR + 1) / 2)] / 1000, NR }'
}

wine reg delete 'HKLM\Software\JavaSoft' /f >/dev/null 2>&1
wine app.exe   # warm the file cache
median_ms "launcher64.exe start, no registered runtime"

home=$(winepath -w "$dir/jdk" | sed 's/\\/\\\\/g')
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    for i in $(seq 1000); do
        case $((i % 3)) in 0) v="1.8.0_$i" ;; 1) v="11.0.$i" ;; *) v="17.0.$i" ;; esac
        printf '[HKEY_LOCAL_MACHINE\\Software\\JavaSoft\\JDK\\%s]\r\n"JavaHome"="%s"\r\n\r\n' "$v" "$home"
    done
} > runtimes.reg
wine regedit /S runtimes.reg
echo "registered: $(wine reg query 'HKLM\Software\JavaSoft\JDK' 2>/dev/null | grep -c 'JDK\\')"
median_ms "launcher64.exe start, 1,000 registered subkeys"
wine reg delete 'HKLM\Software\JavaSoft' /f >/dev/null 2>&1

# The launcher's own work from process start to loading jvm.dll, as the test runtime measures it
# when it is loaded (process creation time to DllMain).
mkdir -p jre/bin/client lib
cp "$build/testjvm/full/jvm.dll" jre/bin/client/jvm.dll
: > lib/app.jar
printf '[Java Runtime Environment]\r\nMain Class=test.app.Report\r\nJRE Path=jre\r\n[Class Path]\r\nClass Path=\\lib\\*.jar\r\n' > app.ini
rm -f load-times.txt
for i in $(seq "$runs"); do TESTJVM_LOAD_TIME=load-times.txt TESTJVM_REPORT=nul wine app.exe; done
sort -n load-times.txt | awk '{ t[NR] = $1 } END { printf "%-48s median %7.1f ms over %d starts\n", "launcher64.exe from process start to jvm.dll", t[int((NR + 1) / 2)] / 1000, NR }'
