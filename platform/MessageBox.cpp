#include "platform/MessageBox.h"

#include "common/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

void InstallMessageBoxHandler()
{
    SetMessageHandler([](const std::string& text) {
        QMessageBox::information(QApplication::activeWindow(),
                                 QApplication::applicationDisplayName(),
                                 QString::fromStdString(text));
    });
}
