// kexora-keydemo: the on-screen keyboard on its own, for checking the key
// road by hand or from a script. Every key event is printed on standard output
// as "sc=<scan code> vk=<virtual key> ch=<byte in hex> down=<0|1> text=<char>"
// and listed in the window; keys that type a character are swallowed, the
// others pass on to the line edit below the keyboard.
//
//   kexora-keydemo [--layout FILE] [--charset N]
//   kexora-keydemo --language Russian      (Modules/Languages beside the program)
#include "keyboard/KXKeyboard.h"
#include "platform/Folders.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {

int LanguageCharset(const QString& language)
{
    return language == "Russian" || language == "Ukrainian" ? 204 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"layout", "Layout file to load.", "file"});
    parser.addOption({"language", "Language whose layout file to load.", "name"});
    parser.addOption({"charset", "Font character set of the layout's bytes.", "code"});
    parser.process(app);

    QWidget window;
    window.setWindowTitle("kexora-keydemo");
    auto* layout = new QVBoxLayout(&window);
    auto* keyboard = new TKXKeyboard(&window);
    keyboard->setObjectName("Keyboard");
    auto* log = new QLabel;
    log->setMinimumHeight(220);
    log->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    log->setFont(QFont("DejaVu Sans Mono", 10));
    auto* edit = new QLineEdit;
    layout->addWidget(keyboard);
    layout->addWidget(log);
    layout->addWidget(edit);

    int charset = 0;
    std::string layoutFile;
    if (parser.isSet("language")) {
        const QString language = parser.value("language");
        layoutFile = ProgramFolder() + "Modules/Languages/" + language.toStdString() + ".Layout";
        charset = LanguageCharset(language);
    }
    if (parser.isSet("layout"))
        layoutFile = parser.value("layout").toStdString();
    if (parser.isSet("charset"))
        charset = parser.value("charset").toInt();
    keyboard->SetCharset(charset);
    if (!layoutFile.empty() && !keyboard->LoadLayout(layoutFile))
        std::fprintf(stderr, "kexora-keydemo: %s: %s\n", layoutFile.c_str(),
                     keyboard->ErrorText().empty() ? "not loaded" : keyboard->ErrorText().c_str());

    QStringList lines;
    keyboard->OnKey = [&](std::uint32_t time, int scanCode, int virtualKey, std::uint8_t ch,
                          bool down) {
        const QString text = ch ? ByteToQString(ch, charset) : QString();
        const QString line = QString("sc=%1 vk=%2 ch=%3 down=%4 text=%5")
                                 .arg(scanCode)
                                 .arg(virtualKey)
                                 .arg(ch, 2, 16, QLatin1Char('0'))
                                 .arg(down ? 1 : 0)
                                 .arg(text);
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        lines.append(QString("%1 ms  ").arg(time % 100000, 5) + line);
        while (lines.size() > 12)
            lines.removeFirst();
        log->setText(lines.join('\n'));
        return ch == 0; // typing keys are swallowed, commands pass on
    };
    keyboard->Enabled = true;
    keyboard->show();
    window.show();
    QTimer::singleShot(0, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
