#pragma once

// Message boxes with an owner, a caption and one of three icons. Where no
// display can be opened a message becomes one line on standard error. Tests
// replace the sink to see the messages without a box blocking them.

#include "platform/dialog_kit/dialog.h"

#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class MessageIcon { Information, Warning, Error };

struct Message {
    Window Owner = nullptr;
    std::string Text;
    std::string Caption;
    MessageIcon Icon = MessageIcon::Information;
};

using MessageSink = std::function<void(const Message&)>;

// Shows the message and returns when the user has dismissed it.
void showMessage(Window owner, std::string_view text, std::string_view caption, MessageIcon icon);

// Sends every later message to sink; an empty sink restores the boxes.
// Gives the sink that was in place.
MessageSink setMessageSink(MessageSink sink);

// The message as one line for a terminal: "caption: text" with line breaks
// turned into spaces.
std::string messageLine(const Message& message);

} // namespace platform
