#pragma once

#include <string>
#include <vector>

namespace velkaro::report {

enum class MessageKind { Error, Warning, Information };

struct Message {
    MessageKind kind = MessageKind::Error;
    std::string caption;
    std::string text;
    friend bool operator==(const Message&, const Message&) = default;
};

// Where the report platform sends what it has to tell the user. The program connects one that
// shows message boxes; tests and headless runs collect.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
};

class CollectingMessageSink final : public MessageSink {
public:
    void show(const Message& message) override { messages_.push_back(message); }
    [[nodiscard]] const std::vector<Message>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

private:
    std::vector<Message> messages_;
};

} // namespace velkaro::report
