#pragma once

#include <QApplication>

#include <functional>
#include <string>

// The program's application object. An exception that escapes an event
// handler is caught here and shown to the user, and the run goes on.
class TApplication : public QApplication {
    Q_OBJECT

public:
    using TErrorReporter = std::function<void(const std::string& text)>;

    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error text in a message box (the default reporter).
    static void ShowError(const std::string& text);
    // Replaces the reporter (an empty one restores the message box) and
    // returns the one in place before.
    static TErrorReporter SetErrorReporter(TErrorReporter reporter);
};
