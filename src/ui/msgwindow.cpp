#include "ui/msgwindow.h"

#include "base/text16.h"
#include "base/errors.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "log/trace.h"

namespace zrt {

namespace {

void inform(const std::string& text) {
    platform::messageBox(text, "Quillet");
}

}  // namespace

void ShowMsgWindow(std::string_view text, bool console) {
    platform::showMessagesWindow(kMessagesWindowTitle, text, console);
}

void ShowText(bool console, bool errorMode) {
    const std::string text = errorMode ? errorLog() : debugLog();
    const std::size_t chars = utf16Length(text);
    std::string answer = "1";
    if (chars > kLongTextChars) {
        inform("Text is " + std::to_string(chars) +
               " characters long and may take time to be loaded.\r\n\r\n"
               "You can:\t1) view it\r\n"
               "        \t2) copy to clipboard\r\n"
               "        \t3) save to file\r\n"
               "        \t0) exit doing nothing\r\n");
        platform::inputBox("1=View, 2=To Clipboard, 3=Save To File, 0=Exit", "Quillet", "0",
                           answer);
        if (answer <= "0" || answer > "3") {
            inform("Nothing done");
            return;
        }
    }
    if (answer == "1") {
        ShowMsgWindow(text, console);
    } else if (answer == "2") {
        platform::setClipboardText(text);
        inform("Text copied to clipboard");
    } else if (answer == "3") {
        // The save dialog and its messages of the script files.
        const std::string name =
            platform::saveFileDialog("Open File", "Text (*.txt)|*.txt|All files (*.*)|*.*");
        if (name.empty()) {
            platform::messageBox("Error 1: Operation cancelled by user.", "Quillet",
                                 platform::Buttons::Ok, platform::Icon::Exclamation);
        } else if (writeTextFile(name, text, false) != WriteResult::Ok) {
            platform::messageBox("Error 3: can't write the file\r\n" + name, "Quillet",
                                 platform::Buttons::Ok, platform::Icon::Exclamation);
        } else {
            inform("Text saved to file");
        }
    }
}

}  // namespace zrt
