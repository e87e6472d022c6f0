#include "platform/Application.h"

#include <QMessageBox>
#include <QWidget>

#include <exception>
#include <utility>

namespace {
TApplication::TErrorReporter& Reporter()
{
    static TApplication::TErrorReporter reporter;
    return reporter;
}

void Report(const std::string& text)
{
    if (const auto& reporter = Reporter())
        reporter(text);
    else
        TApplication::ShowError(text);
}
} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Report(error.what());
    } catch (...) {
        Report("Unknown error");
    }
    return false;
}

void TApplication::ShowError(const std::string& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                          QString::fromStdString(text));
}

TApplication::TErrorReporter TApplication::SetErrorReporter(TErrorReporter reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}
