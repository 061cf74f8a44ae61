#include "app/secondary_main_server_win.h"

#include "jvm/secondary_main.h"

namespace launcher {

namespace {

class ReplyBridge final : public SecondaryMainReply {
 public:
  explicit ReplyBridge(ForwardReply& reply) : reply_(reply) {}
  void send(std::int32_t result) override { reply_.send(result); }

 private:
  ForwardReply& reply_;
};

}  // namespace

void SecondaryMainServer::handle(const std::vector<std::u16string>& arguments, ForwardReply& reply) {
  ReplyBridge bridge(reply);
  callSecondaryMain(javaVm_.load(), mainClass_, arguments, bridge);
}

}  // namespace launcher
