#include "runtime/classic_runtime_keys.h"

#include "base/path.h"
#include "runtime/search_trace.h"

namespace launcher {
namespace {

constexpr std::u16string_view kClassicVendorNames[kRuntimeVendorCount] = {u"Sun", u"JRockit", u"IBM"};

}  // namespace

const std::array<RegisteredRuntimeKey, 7> kRegisteredRuntimeKeys{{
    {u"Software\\JavaSoft\\JDK\\", RuntimeKind::jdk, RuntimeVendor::sun, u"", false},
    {u"Software\\JavaSoft\\JRE\\", RuntimeKind::jre, RuntimeVendor::sun, u"", false},
    {u"Software\\JavaSoft\\Java Development Kit\\", RuntimeKind::jdk, RuntimeVendor::sun, u"jre\\", false},
    {u"Software\\JavaSoft\\Java Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::sun, u"", true},
    {u"Software\\JRockit\\Java Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::jrockit, u"", false},
    {u"Software\\JRockit\\Java Development Kit\\", RuntimeKind::jdk, RuntimeVendor::jrockit, u"jre\\", false},
    {u"Software\\IBM\\Java2 Runtime Environment\\", RuntimeKind::jre, RuntimeVendor::ibm, u"", false},
}};

bool isKeySearched(const RegisteredRuntimeKey& key, const RuntimeCriteria& criteria) {
  return isAccepted(key.kind, key.vendor, criteria);
}

void scanRegistryKey(RuntimeEnvironment& env, const RegisteredRuntimeKey& key, RegistryView view,
                     const RuntimeCriteria& criteria, std::vector<JvmCandidate>& candidates) {
  Registration r;
  r.view = view;
  r.versionFrom = u"key name";
  r.kind = key.kind;
  r.vendor = key.vendor;
  r.vendorName = kClassicVendorNames[static_cast<size_t>(key.vendor)];
  r.probeType = key.probesFavorServerAsDefault && criteria.jvmType == JvmType::favorServer ? JvmType::any
                                                                                           : criteria.jvmType;
  auto readJavaHome = [&](Registration& registration) {
    std::optional<std::u16string> javaHome =
        env.readString(RegistryRoot::localMachine, registration.keyPath, u"JavaHome", view);
    if (!javaHome || javaHome->empty()) {
      traceRegistration(registration, Verdict::noFolderValue, u"JavaHome");
      return false;
    }
    registration.home = withTrailingBackslash(*javaHome) + std::u16string(key.homeSuffix);
    return true;
  };
  for (const std::u16string& name : env.subkeyNames(RegistryRoot::localMachine, key.path, view)) {
    r.keyPath = joinPath(key.path, name);
    // A name without digits (or with an overflowing group) reads as 0.0.0.0 and is filtered
    // like any other version.
    r.version = JavaVersion{};
    r.version.parse(name, 0);
    admit(env, r, criteria, candidates, readJavaHome);
  }
}

}  // namespace launcher
