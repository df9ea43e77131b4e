// The messages two machines exchange over the link, and their bytes.
//
// On the wire a message is: total length (9 + text length), kind, p1, p2,
// p3, p4, value low byte, value high byte, the text one byte a character,
// and a zero byte. Nothing else frames it; messages follow each other.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace qv {

enum class LinkMessageKind : uint8_t {
    kCardPlayed = 0,   // value card id, p1 column, p2 row
    kAttack = 1,       // p1, p2 attacking cell; p3, p4 target cell
    kMultiHit = 2,     // as kAttack
    kCardTaken = 3,    // a card taken from the pile
    kCard = 4,         // value card id: the card won, or one of a trade offer
    kName = 5,         // text: a player's name
    kFirstSide = 6,    // p1 side to move, as the receiver numbers the sides
    kBlockedCell = 7,  // p1 column, p2 row; 255 in either ends the list
    kStartGame = 8,
    kEcho = 9,          // a copy of the request just received
    kAcknowledge = 10,  // the echo was right: both sides act on the request
    kStartTrade = 11,
    kCreditsOffer = 12,  // p1..p4 a 32-bit amount, most significant first
    kTradeLeave = 13,
    kReady = 14,        // p1 1 ready, 0 not
    kTradeClear = 15,   // the other side's offer is emptied
    kTradeRemove = 16,  // p1 index in the trade box
    kStartSignal = 20,
    kReject = 255,  // any answer but an acknowledge fails the exchange
};

inline constexpr int kLinkMessageMaxBytes = 100;
inline constexpr int kLinkMessageMinBytes = 9;
inline constexpr int kLinkTextMaxChars = kLinkMessageMaxBytes - kLinkMessageMinBytes;

// One message as a value. The default has kind and parameters 255, value -1
// and no text; a message carries only the fields of its kind.
struct LinkMessage {
    LinkMessageKind kind = LinkMessageKind::kReject;
    uint8_t p1 = 255;
    uint8_t p2 = 255;
    uint8_t p3 = 255;
    uint8_t p4 = 255;
    int16_t value = -1;
    WString text;
};

// Every field equal, the texts exactly.
bool SameLinkMessage(const LinkMessage& a, const LinkMessage& b);

// The text as the wire carries it: each character's low byte, up to the
// first zero byte and at most kLinkTextMaxChars characters.
WString LinkWireText(const WString& text);

// Writes the message's bytes into buffer (room for kLinkMessageMaxBytes),
// the text as LinkWireText gives it; returns how many were written.
int PackLinkMessage(const LinkMessage& message, uint8_t* buffer);

enum class LinkRead {
    kMessage,     // a whole message, *length bytes long
    kIncomplete,  // the start of a message whose rest has not come yet
    kMalformed,   // no message can start so: a length below 9 or above 100,
                  // or a zero byte that is not the message's last
};
// Reads the message at the front of count bytes; never looks past them.
LinkRead ReadLinkMessage(const uint8_t* bytes, size_t count, LinkMessage* message, int* length);

// A credits amount in p1..p4, most significant byte first, and back.
void SetLinkCredits(LinkMessage& message, int32_t credits);
int32_t LinkCredits(const LinkMessage& message);

// The numbers a message brings, checked before anyone uses them: false
// for a credits amount below 0, a card id outside 1..the card count, or a
// cell outside the 6 x 4 board (255 in p1 or p2 is the end of a list,
// which the caller looks for first).
bool ReadLinkCredits(const LinkMessage& message, int32_t* credits);
bool ReadLinkCardId(const LinkMessage& message, int16_t* cardId);
bool ReadLinkCell(uint8_t column, uint8_t row, int* cellColumn, int* cellRow);

}  // namespace qv
