#include "base/process_token_win.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "base/wide.h"
#include "base/handle_owners_win.h"

namespace launcher {
namespace {

// A token information class read into a buffer of its own size, aligned for the pointers the
// records hold.
using TokenBytes = std::vector<std::uint64_t>;
std::optional<TokenBytes> tokenBytes(HANDLE token, TOKEN_INFORMATION_CLASS what) {
  DWORD size = 0;
  ::GetTokenInformation(token, what, nullptr, 0, &size);
  // Far more than any SID or label; a larger answer is not one this code understands.
  if (size == 0 || size > 4096) return std::nullopt;
  TokenBytes buffer((size + 7) / 8, 0);
  if (!::GetTokenInformation(token, what, buffer.data(), size, &size)) return std::nullopt;
  return buffer;
}

UniqueHandle processToken(HANDLE process) {
  UniqueHandle token;
  HANDLE opened = nullptr;
  if (::OpenProcessToken(process, TOKEN_QUERY, &opened)) token.reset(opened);
  return token;
}

bool sameSid(PSID a, PSID b) { return a != nullptr && b != nullptr && ::IsValidSid(a) && ::IsValidSid(b) && ::EqualSid(a, b); }

}  // namespace

std::optional<std::uint32_t> integrityLevelOf(HANDLE process) {
  UniqueHandle token = processToken(process);
  if (!token) return std::nullopt;
  std::optional<TokenBytes> bytes = tokenBytes(token.get(), TokenIntegrityLevel);
  if (!bytes) return std::nullopt;
  PSID label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(bytes->data())->Label.Sid;
  if (label == nullptr || !::IsValidSid(label) || *::GetSidSubAuthorityCount(label) == 0) return std::nullopt;
  return static_cast<std::uint32_t>(*::GetSidSubAuthority(label, *::GetSidSubAuthorityCount(label) - 1u));
}

bool runsElevated() {
  UniqueHandle token = processToken(::GetCurrentProcess());
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!token || !::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return true;
  return elevation.TokenIsElevated != 0;
}

std::u16string currentUserSid() {
  UniqueHandle token = processToken(::GetCurrentProcess());
  std::optional<TokenBytes> user = token ? tokenBytes(token.get(), TokenUser) : std::nullopt;
  if (!user) return {};
  LPWSTR text = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user->data())->User.Sid, &text)) return {};
  UniqueLocalMemory owned(text);
  return std::u16string(as_u16view(text));
}

bool ownedByCurrentUser(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  UniqueLocalMemory ownedDescriptor(descriptor);
  UniqueHandle token = processToken(::GetCurrentProcess());
  if (!token) return false;
  std::optional<TokenBytes> user = tokenBytes(token.get(), TokenUser);
  std::optional<TokenBytes> defaultOwner = tokenBytes(token.get(), TokenOwner);
  return (user && sameSid(owner, reinterpret_cast<TOKEN_USER*>(user->data())->User.Sid)) ||
         (defaultOwner && sameSid(owner, reinterpret_cast<TOKEN_OWNER*>(defaultOwner->data())->Owner));
}

}  // namespace launcher
