#include "runtime/vendor_runtime_keys.h"

#include "base/path.h"
#include "base/text.h"
#include "runtime/release_file.h"
#include "runtime/search_trace.h"

namespace launcher {

const std::array<VendorRuntimeKey, 8> kVendorRuntimeKeys{{
    {u"SOFTWARE\\Eclipse Adoptium\\JDK\\", u"Eclipse Adoptium", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\Eclipse Adoptium\\JRE\\", u"Eclipse Adoptium", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\AdoptOpenJDK\\JDK\\", u"AdoptOpenJDK", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\AdoptOpenJDK\\JRE\\", u"AdoptOpenJDK", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\Eclipse Foundation\\JDK\\", u"Eclipse Foundation", VendorLayout::msi, RuntimeKind::jdk, true},
    {u"SOFTWARE\\Eclipse Foundation\\JRE\\", u"Eclipse Foundation", VendorLayout::msi, RuntimeKind::jre, true},
    {u"SOFTWARE\\Microsoft\\JDK\\", u"Microsoft", VendorLayout::msi, RuntimeKind::jdk, false},
    {u"SOFTWARE\\Azul Systems\\Zulu\\", u"Azul Zulu", VendorLayout::installationPath, RuntimeKind::jdk, false},
}};

namespace {

// The version of a runtime found under a vendor key, and where it was read.
void readVendorVersion(RuntimeEnvironment& env, std::u16string_view subkeyName, Registration& r) {
  r.version = JavaVersion{};
  if (!subkeyName.empty() && isAsciiDigit(subkeyName.front()) && r.version.parse(subkeyName, 0)) {
    r.versionFrom = u"key name";
    return;
  }
  if (std::optional<std::string> release = env.readReleaseFile(r.home)) {
    if (std::optional<JavaVersion> stated = releaseJavaVersion(*release)) {
      r.version = *stated;
      r.versionFrom = u"release file";
      return;
    }
  }
  // As a classic key's name: its digits, or 0.0.0.0 without any.
  r.version = JavaVersion{};
  r.version.parse(subkeyName, 0);
  r.versionFrom = u"key name digits";
}

// The runtime whose folder the value `valueName` of `r.keyPath` names.
void considerVendorRuntime(RuntimeEnvironment& env, const VendorRuntimeKey& key, Registration r,
                           std::u16string_view valueName, std::u16string_view subkeyName,
                           const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  std::optional<std::u16string> path = env.readString(r.root, r.keyPath, valueName, r.view);
  if (!path || path->empty()) {
    traceRegistration(r, Verdict::noFolderValue, valueName);
    return;
  }
  r.home = withTrailingBackslash(*path);
  r.kind = key.kind;
  if (key.layout == VendorLayout::installationPath) {
    r.kind = env.fileExists(joinPath(r.home, u"bin\\javac.exe")) ? RuntimeKind::jdk : RuntimeKind::jre;
  }
  readVendorVersion(env, subkeyName, r);
  admit(env, std::move(r), criteria, candidates);
}

}  // namespace

void scanVendorKey(RuntimeEnvironment& env, const VendorRuntimeKey& key, RegistryRoot root, RegistryView view,
                   const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  Registration r;
  r.root = root;
  r.view = view;
  r.vendorName = key.vendorName;
  r.probeType = criteria.jvmType;
  r.fromVendorKey = true;
  for (const std::u16string& name : env.subkeyNames(root, key.path, view)) {
    std::u16string registration = joinPath(key.path, name);
    if (key.layout == VendorLayout::installationPath) {
      r.keyPath = registration;
      r.vendor = RuntimeVendor::sun;
      considerVendorRuntime(env, key, r, u"InstallationPath", name, criteria, candidates);
      continue;
    }
    for (const std::u16string& vm : env.subkeyNames(root, registration, view)) {
      // HotSpot is the VM of Sun's lineage; OpenJ9 is IBM's J9.
      bool openJ9 = key.takesOpenJ9 && equalsIgnoringAsciiCase(vm, u"openj9");
      if (!openJ9 && !equalsIgnoringAsciiCase(vm, u"hotspot")) {
        traceRegistryKey(root, joinPath(registration, vm), view, Verdict::notAVm);
        continue;
      }
      r.keyPath = joinPath(joinPath(registration, vm), u"MSI");
      r.vendor = openJ9 ? RuntimeVendor::ibm : RuntimeVendor::sun;
      considerVendorRuntime(env, key, r, u"Path", name, criteria, candidates);
    }
  }
}

}  // namespace launcher
