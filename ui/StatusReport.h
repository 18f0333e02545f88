#pragma once

// A short report of something that went as asked (a save, an export, an import), shown for a
// few seconds in the main window's status bar rather than in a box the user must close.
// Errors and questions stay boxes. The main frame shows them; tests read them there.

class QString;

namespace rw {

class StatusReport {
public:
    virtual ~StatusReport() = default;
    virtual void Report(const QString& text) = 0;
};

} // namespace rw
