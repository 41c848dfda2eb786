#include "app/AreaContext.h"

#include "link/Exchange.h"
#include "link/TerminatorSearch.h"

namespace kx {

int AreaContext::send(std::string_view command, ReplyBuffer& into) const {
    if (exchange)
        return exchange(command, into, timeoutMs, kTerminatorPrompt);
    return SendCommand(command, into, timeoutMs, kTerminatorPrompt);
}

int AreaContext::sendAll(const std::vector<std::string>& commands) const {
    ReplyBuffer ack(kWriterReplyCapacity);
    for (const std::string& command : commands)
        if (send(command, ack) != 1)
            return 0;
    return 1;
}

}  // namespace kx
