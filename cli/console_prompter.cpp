#include "cli/console_prompter.h"

#include <iostream>

namespace scorvane::cli {

void ConsolePrompter::message(std::string_view text, std::string_view, Icon) {
    ++messages_;
    std::cerr << text << "\n";
}

Answer ConsolePrompter::ask(std::string_view, std::string_view, Buttons buttons, Icon, Answer) {
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<std::string> ConsolePrompter::input(std::string_view, std::string_view, std::string_view) {
    return std::nullopt;
}

std::string ConsolePrompter::openFile(std::string_view, std::string_view) {
    return {};
}
std::string ConsolePrompter::saveFile(std::string_view) {
    return {};
}

}  // namespace scorvane::cli
