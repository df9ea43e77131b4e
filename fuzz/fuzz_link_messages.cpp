// Fuzz target: bytes received over the link, read as messages the way the
// message layer reads them. Every message read must pack back to its own
// bytes, and the receive queue fed the same bytes in pieces must hand out
// the same messages in the same order.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "infrared/link_message.h"
#include "infrared/link_session.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The registry in the target's own directory; every receive looks at
    // the input queue, which moves the virtual clock: no time limit.
    fuzz::StartHeadless();
    if (size == 0) return 0;
    // The first byte chooses the size of the pieces the rest arrives in.
    size_t piece = 1 + data[0] % 120;
    const uint8_t* bytes = data + 1;
    size_t count = size - 1;

    // The reader alone, message after message, until the bytes stop being messages.
    std::vector<LinkMessage> read;
    size_t at = 0;
    while (at < count) {
        LinkMessage message;
        int length = 0;
        if (ReadLinkMessage(bytes + at, count - at, &message, &length) != LinkRead::kMessage) break;
        uint8_t packed[kLinkMessageMaxBytes];
        if (length < kLinkMessageMinBytes || length > kLinkMessageMaxBytes ||
            PackLinkMessage(message, packed) != length || std::memcmp(packed, bytes + at, length) != 0) {
            ::abort();
        }
        read.push_back(message);
        at += static_cast<size_t>(length);
    }

    // The receive queue, fed piece by piece and emptied after each piece.
    LinkSession session;
    std::vector<LinkMessage> queued;
    for (size_t start = 0; start < count; start += piece) {
        size_t n = count - start < piece ? count - start : piece;
        session.QueueReceivedMessages(bytes + start, static_cast<int>(n));
        while (session.QueuedLinkMessages() > 0) {
            if (session.QueuedLinkMessages() > LinkSession::kQueueSlots) ::abort();
            LinkMessage message;
            if (!session.ReceiveLinkMessage(message)) ::abort();
            queued.push_back(message);
        }
    }
    // After malformed bytes the queue starts afresh with the next piece, so
    // it may hand out more than the reader found, never less or other.
    if (queued.size() < read.size()) ::abort();
    for (size_t i = 0; i < read.size(); ++i) {
        if (!SameLinkMessage(read[i], queued[i])) ::abort();
    }
    return 0;
}
