#include "app/services/AreaContext.h"

#include "link/Exchange.h"
#include "link/TerminatorSearch.h"

namespace kx {

int AreaContext::send(std::string_view command, ReplyBuffer& into) const {
    if (exchange) {
        const int result = exchange(command, into, timeoutMs, kTerminatorPrompt);
        if (result != 1)
            lastFailure = ExchangeOutcome::TimedOut;
        return result;
    }
    const ExchangeOutcome outcome = Exchange(command, into, timeoutMs, kTerminatorPrompt);
    if (outcome != ExchangeOutcome::Ok)
        lastFailure = outcome;
    return outcome == ExchangeOutcome::Ok ? 1 : 0;
}

int AreaContext::sendAll(const std::vector<std::string>& commands) const {
    ReplyBuffer ack(kWriterReplyCapacity);
    for (const std::string& command : commands)
        if (send(command, ack) != 1)
            return 0;
    return 1;
}

}  // namespace kx
