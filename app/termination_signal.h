#pragma once

#include <functional>

namespace mk::app {

// SIGTERM, SIGINT and SIGHUP end the program as Exit does: through the event
// loop, so the recording and the trace are written before it goes. The
// handler only writes a byte to a pipe; `onSignal` runs from the event loop.
// Once per program.
void endOnTerminationSignals(std::function<void()> onSignal);

}  // namespace mk::app
