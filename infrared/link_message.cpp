// Link messages: comparing them and their bytes on the wire.
#include "infrared/link_message.h"

#include "cards/card_database.h"
#include "match/board.h"

namespace qv {

bool SameLinkMessage(const LinkMessage& a, const LinkMessage& b) {
    return a.kind == b.kind && a.p1 == b.p1 && a.p2 == b.p2 && a.p3 == b.p3 && a.p4 == b.p4 && a.value == b.value &&
           a.text == b.text;
}

WString LinkWireText(const WString& text) {
    WString wire;
    for (char16_t c : text) {
        char16_t low = static_cast<char16_t>(c & 0xFF);
        if (low == 0 || wire.size() == static_cast<size_t>(kLinkTextMaxChars)) {
            break;
        }
        wire.push_back(low);
    }
    return wire;
}

int PackLinkMessage(const LinkMessage& message, uint8_t* buffer) {
    WString text = LinkWireText(message.text);
    int length = kLinkMessageMinBytes + static_cast<int>(text.size());
    uint16_t value = static_cast<uint16_t>(message.value);
    buffer[0] = static_cast<uint8_t>(length);
    buffer[1] = static_cast<uint8_t>(message.kind);
    buffer[2] = message.p1;
    buffer[3] = message.p2;
    buffer[4] = message.p3;
    buffer[5] = message.p4;
    buffer[6] = static_cast<uint8_t>(value & 0xFF);
    buffer[7] = static_cast<uint8_t>(value >> 8);
    for (size_t i = 0; i < text.size(); ++i) {
        buffer[8 + i] = static_cast<uint8_t>(text[i]);
    }
    buffer[length - 1] = 0;
    return length;
}

LinkRead ReadLinkMessage(const uint8_t* bytes, size_t count, LinkMessage* message, int* length) {
    if (count == 0) {
        return LinkRead::kIncomplete;
    }
    size_t size = bytes[0];
    if (size < static_cast<size_t>(kLinkMessageMinBytes) || size > static_cast<size_t>(kLinkMessageMaxBytes)) {
        return LinkRead::kMalformed;
    }
    // The text may hold no zero byte: a zero ends the message.
    size_t seen = count < size ? count : size;
    for (size_t i = 8; i < seen; ++i) {
        if (bytes[i] == 0 && i != size - 1) {
            return LinkRead::kMalformed;
        }
    }
    if (count < size) {
        return LinkRead::kIncomplete;
    }
    if (bytes[size - 1] != 0) {
        return LinkRead::kMalformed;
    }
    LinkMessage read;
    read.kind = static_cast<LinkMessageKind>(bytes[1]);
    read.p1 = bytes[2];
    read.p2 = bytes[3];
    read.p3 = bytes[4];
    read.p4 = bytes[5];
    read.value = static_cast<int16_t>(static_cast<uint16_t>(bytes[6] | (bytes[7] << 8)));
    for (size_t i = 8; i + 1 < size; ++i) {
        read.text.push_back(static_cast<char16_t>(bytes[i]));
    }
    *message = read;
    *length = static_cast<int>(size);
    return LinkRead::kMessage;
}

void SetLinkCredits(LinkMessage& message, int32_t credits) {
    uint32_t bits = static_cast<uint32_t>(credits);
    message.p1 = static_cast<uint8_t>(bits >> 24);
    message.p2 = static_cast<uint8_t>(bits >> 16);
    message.p3 = static_cast<uint8_t>(bits >> 8);
    message.p4 = static_cast<uint8_t>(bits);
}

int32_t LinkCredits(const LinkMessage& message) {
    uint32_t bits = (uint32_t{message.p1} << 24) | (uint32_t{message.p2} << 16) | (uint32_t{message.p3} << 8) |
                    uint32_t{message.p4};
    return static_cast<int32_t>(bits);
}

bool ReadLinkCredits(const LinkMessage& message, int32_t* credits) {
    int32_t amount = LinkCredits(message);
    if (amount < 0) {
        return false;
    }
    *credits = amount;
    return true;
}

bool ReadLinkCardId(const LinkMessage& message, int16_t* cardId) {
    if (!IsDatabaseId(message.value)) {
        return false;
    }
    *cardId = message.value;
    return true;
}

bool ReadLinkCell(uint8_t column, uint8_t row, int* cellColumn, int* cellRow) {
    if (!Board::IsInside(column, row)) {
        return false;
    }
    *cellColumn = column;
    *cellRow = row;
    return true;
}

}  // namespace qv
