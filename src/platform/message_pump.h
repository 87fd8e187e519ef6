// Lets a long operation on the band's thread handle what is waiting for that thread.
#pragma once

namespace pelux {

class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    // Handles every message already waiting, then returns. A quit request taken from the queue
    // is kept for the host's own loop, never lost.
    virtual void pumpMessages() = 0;
};

}  // namespace pelux
