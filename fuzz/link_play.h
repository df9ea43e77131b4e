// The input of the link-play fuzz target (fuzz_link_play.cpp): the other
// machine's part as a script of steps. The seed maker writes seeds with
// LinkPlayScript; the target reads them back with the same constants.
//
// Byte 0 sets the run up: bit 0 set, the game joins the other machine (it is
// the client); clear, it creates the link (the server). Bits 1-2: what the
// player presses in the room once connected (a LinkPlayPress).
//
// Then steps. A step's first byte has its kind (a LinkPlayStep) in its low
// three bits and an argument in the other five; some steps have bytes after
// it. A message step is followed by the message's fields: kind, p1, p2, p3,
// p4, value (low byte first), the text's length, the text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "infrared/link_message.h"

namespace qv::fuzz {

inline constexpr uint8_t kLinkPlayJoins = 1;

enum LinkPlayPress : uint8_t { kPressGame = 0, kPressTrade = 1, kPressNothing = 2 };

enum LinkPlayStep : uint8_t {
    kStepMessageWhenWaiting = 0,  // sent when the game next waits for a message
    kStepMessageNow = 1,          // sent before the next frame
    kStepRawBytes = 2,            // a count, then that many bytes, sent before the next frame
    kStepFrames = 3,              // argument + 1 frames pass
    kStepAnswer = 4,              // the game's next request is answered as the LinkPlayAnswer in the argument
    kStepTap = 5,                 // x, y in 256ths of the screen: a tap before the next frame
    kStepClose = 6,               // the other machine ends the link; argument bit 0: it takes a new one later
    kStepRejectEcho = 7,          // the game's next echo of a message is rejected even when right
};

enum LinkPlayAnswer : uint8_t { kAnswerEcho = 0, kAnswerWrongEcho = 1, kAnswerReject = 2, kAnswerSilence = 3 };

// A message's fields in the step's form (the text one byte a character).
inline void AppendLinkPlayMessage(std::vector<uint8_t>& out, const LinkMessage& message) {
    out.push_back(static_cast<uint8_t>(message.kind));
    out.push_back(message.p1);
    out.push_back(message.p2);
    out.push_back(message.p3);
    out.push_back(message.p4);
    out.push_back(static_cast<uint8_t>(message.value & 0xFF));
    out.push_back(static_cast<uint8_t>((message.value >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(message.text.size()));
    for (char16_t c : message.text) out.push_back(static_cast<uint8_t>(c));
}

// Builds an input step by step.
class LinkPlayScript {
public:
    LinkPlayScript(bool joins, LinkPlayPress press) {
        bytes_.push_back(static_cast<uint8_t>((joins ? kLinkPlayJoins : 0) | (press << 1)));
    }

    // A message with 255 in every field not given, as a sender builds it.
    static LinkMessage Message(LinkMessageKind kind, uint8_t p1 = 255, uint8_t p2 = 255, int16_t value = -1,
                               const char16_t* text = u"") {
        LinkMessage message;
        message.kind = kind;
        message.p1 = p1;
        message.p2 = p2;
        message.value = value;
        message.text = text;
        return message;
    }

    LinkPlayScript& WhenWaiting(const LinkMessage& message) { return Send(kStepMessageWhenWaiting, message); }
    LinkPlayScript& Now(const LinkMessage& message) { return Send(kStepMessageNow, message); }
    LinkPlayScript& Raw(const std::vector<uint8_t>& bytes) {
        bytes_.push_back(kStepRawBytes);
        bytes_.push_back(static_cast<uint8_t>(bytes.size()));
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // 1 to 32 frames.
    LinkPlayScript& Frames(int count) { return Step(kStepFrames, count - 1); }
    LinkPlayScript& AnswerNext(LinkPlayAnswer answer) { return Step(kStepAnswer, answer); }
    // A tap at screen pixel (x, y).
    LinkPlayScript& Tap(int x, int y) {
        Step(kStepTap, 0);
        bytes_.push_back(static_cast<uint8_t>((x * 256 + 128) / 240));
        bytes_.push_back(static_cast<uint8_t>((y * 256 + 160) / 320));
        return *this;
    }
    LinkPlayScript& Close(bool takesANewLink) { return Step(kStepClose, takesANewLink ? 1 : 0); }
    LinkPlayScript& RejectNextEcho() { return Step(kStepRejectEcho, 0); }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    LinkPlayScript& Step(LinkPlayStep kind, int argument) {
        bytes_.push_back(static_cast<uint8_t>(kind | (argument << 3)));
        return *this;
    }
    LinkPlayScript& Send(LinkPlayStep kind, const LinkMessage& message) {
        bytes_.push_back(kind);
        AppendLinkPlayMessage(bytes_, message);
        return *this;
    }

    std::vector<uint8_t> bytes_;
};

}  // namespace qv::fuzz
