#include "jvm/runtime_output.h"

#include <algorithm>
#include <atomic>
#include <optional>

#include "base/text.h"
#include "base/trace.h"
#include "jvm/class_data_archive.h"
#include "jvm/runtime_words.h"
#include "jvm/time_stamp.h"
#include "resources/resource_ids.h"

namespace launcher {
namespace {

// The hook runs on whichever VM thread writes, the abort hook on whichever aborts: a spin lock,
// which needs no library of threads, guards the kept words. It is held only to copy bytes.
class SpinLock {
 public:
  void lock() {
    while (flag_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() { flag_.clear(std::memory_order_release); }

 private:
  std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

struct Creation {
  SpinLock lock;
  RuntimeWords words;
  std::atomic<bool> keeping{false};
  // Set before the VM is created, and kept for the rest of the process: the hook lives as long as
  // the VM, whose threads all start after it is set.
  RuntimeOutput output;
  // The watch's, valid while keeping.
  const StreamFiles* streamFiles = nullptr;
  JavaHostServices* services = nullptr;
};
Creation creation;
std::atomic<bool> quietRecordingNotice{false};

// Formats into this many bytes, on the stack of whichever thread writes.
constexpr std::size_t kPieceSize = 8 * 1024;

// The error file gets the words as the runtime wrote them, as its error stream would have.
void writeErrorFile(std::string_view bytes, const StreamFiles& files, JavaHostServices& services) {
  std::u16string outputFile = files.outputFile;
  std::u16string errorFile = files.errorFile;
  if (errorFile.empty() || bytes.empty()) return;
  if (hasTimeStampPattern(outputFile) || hasTimeStampPattern(errorFile)) {
    services.stampStreamFileNames(outputFile, errorFile);
  }
  // One file for both streams is opened as the output file, with its append flag, once the VM runs.
  const bool append = !outputFile.empty() && equalsIgnoringAsciiCase(outputFile, errorFile) ? files.outputAppend
                                                                                              : files.errorAppend;
  services.createParentFolders(errorFile);
  services.writeStreamFile(errorFile, append, bytes);
}

void report(unsigned reasonId) {
  creation.keeping = false;
  creation.lock.lock();
  const std::string bytes(creation.words.bytes());
  const bool cut = creation.words.cut();
  creation.words.clear();
  creation.lock.unlock();
  JavaHostServices& services = *creation.services;

  writeErrorFile(bytes, *creation.streamFiles, services);
  std::u16string said;
  if (!services.userSeesRuntimeOutput()) {
    std::optional<std::u16string> utf8 = fromRuntimeUtf8(bytes, cut);
    said = runtimeWordsText(utf8 ? *utf8 : services.fromRuntimeCodePage(bytes), cut);
  }
  if (tracing() && !bytes.empty()) trace(u"vm", u"the runtime wrote " + decimalText(bytes.size()) + u" bytes");
  const std::u16string reason = !said.empty() ? formatMessage(services.text(IDS_VM_RUNTIME_REPORTS), {said})
                                : reasonId != 0 ? services.text(reasonId)
                                                : std::u16string();
  services.showError(IDS_VM_CREATION_FAILED, {services.text(IDS_VM_CREATION_REASON), reason});
}

}  // namespace

jint JNICALL runtimeOutputHook(FILE* stream, const char* format, va_list args) {
  const RuntimeOutput& output = creation.output;
  if (output.format == nullptr) return 0;
  char piece[kPieceSize];
  bool cut = false;
  const std::size_t length = std::min(output.format(stream, piece, sizeof piece, format, args, cut), sizeof piece);
  // HotSpot writes its notice in one piece, as one line.
  if (quietRecordingNotice && isCacheRecordingNotice(std::string_view(piece, length))) return static_cast<jint>(length);
  if (creation.keeping) {
    creation.lock.lock();
    creation.words.add(std::string_view(piece, length));
    if (cut) creation.words.markCut();
    creation.lock.unlock();
  }
  if (output.passOn != nullptr) output.passOn(stream, std::string_view(piece, length));
  return static_cast<jint>(length);
}

VmCreationWatch::VmCreationWatch(const RuntimeOutput& output, const StreamFiles& streamFiles,
                                 JavaHostServices& services) {
  creation.streamFiles = &streamFiles;
  creation.services = &services;
  creation.output = output;
  creation.keeping = true;
}

VmCreationWatch::~VmCreationWatch() {
  creation.keeping = false;
  creation.lock.lock();
  creation.words.clear();
  creation.lock.unlock();
}

void quietCacheRecordingNotice() { quietRecordingNotice = true; }

void VmCreationWatch::reportFailure(unsigned reasonId) { report(reasonId); }

bool reportVmCreationAbort() {
  // Only one report: a second abort while the first is shown waits for nothing.
  if (!creation.keeping.exchange(false)) return false;
  trace(u"vm", u"the runtime aborted while the VM was being created");
  report(IDS_JNI_ERR);
  return true;
}

}  // namespace launcher
