// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// Writes the window's design table as a classic script that defines Buffon.design, and every
// text the window shows, one a line, for the page's font to be cut down to.
//
//   design_script SCRIPT TEXTS

#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "design/controls.h"
#include "design/window_texts.h"
#include "experiment/experiment_run.h"
#include "experiment/lesson_modes.h"
#include "experiment/number_text.h"

namespace {

using buffon::ControlDesign;
using buffon::ControlRole;
using Json = nlohmann::ordered_json;

// What a screen reader calls the board's menu.
constexpr const char* kMenuName = "Lesson modes";

const char* roleName(ControlRole role)
{
    switch (role) {
    case ControlRole::Caption:
        return "caption";
    case ControlRole::EstimateCaption:
        return "estimateCaption";
    case ControlRole::EstimateLabel:
        return "estimateLabel";
    case ControlRole::CountCaption:
        return "countCaption";
    case ControlRole::CountLabel:
        return "countLabel";
    case ControlRole::Board:
        return "board";
    case ControlRole::Emblem:
        return "emblem";
    case ControlRole::Device:
        return "device";
    case ControlRole::RunButton:
        return "runButton";
    case ControlRole::InitButton:
        return "initButton";
    case ControlRole::ExitButton:
        return "exitButton";
    case ControlRole::ModeLine:
        return "modeLine";
    }
    return "";
}

Json controlJson(const ControlDesign& control)
{
    const buffon::Place& place = control.place;
    Json json{{"id", control.objectName},
              {"role", roleName(control.role)},
              {"place", {place.left, place.top, place.width, place.height}},
              {"text", buffon::controlText(control)},
              {"fontPixelSize", control.fontPixelSize},
              {"bold", control.bold}};
    if (control.runSize) {
        json["runSize"] = control.runSize - buffon::kRunSizes.data();
        json["name"] = buffon::runButtonName(*control.runSize);
        json["description"] = buffon::runButtonDescription(*control.runSize);
        json["textbookDescription"] = buffon::runButtonDescription(*control.runSize, true);
    }
    if (control.accessibleName) {
        json["name"] = control.accessibleName;
    }
    if (control.accessibleDescription) {
        json["description"] = control.accessibleDescription;
    }
    return json;
}

// The modes the page's menu offers, by their address parameters: a switch, or a mode whose
// values are choices of their own.
Json modesJson()
{
    Json modes = Json::array();
    for (const buffon::ModeOption& mode : buffon::modeOptions()) {
        if (!mode.parameter || !mode.menuText) {
            continue;
        }
        Json choices = Json::array();
        for (const double value : mode.menuValues) {
            choices.push_back({{"value", buffon::numberText(value)},
                               {"text", buffon::choiceText(mode.kind, value)}});
        }
        modes.push_back({{"parameter", mode.parameter}, {"text", mode.menuText}});
        if (!choices.empty()) {
            modes.back()["choices"] = choices;
        }
    }
    return modes;
}

Json designJson()
{
    Json controls = Json::array();
    for (const ControlDesign& control : buffon::controlDesigns()) {
        controls.push_back(controlJson(control));
    }
    return {{"caption", buffon::kWindowCaption},
            {"description", buffon::kWindowDescription},
            {"clientSize", {buffon::kClientWidth, buffon::kClientHeight}},
            {"boardEdge", buffon::kBoardEdge},
            {"fontFamilies", std::vector<std::string>(buffon::fontFamilies().begin(),
                                                      buffon::fontFamilies().end())},
            {"boxTitle", buffon::kBoxTitle},
            {"exitPrompt", buffon::kExitPrompt},
            {"startCue", buffon::kStartCue},
            {"exitCue", buffon::kExitCue},
            {"textbookCountCaption", buffon::kTextbookCountCaption},
            {"textbookCountDescription", buffon::kTextbookCountDescription},
            {"menuName", kMenuName},
            {"stopRunEntry", buffon::kStopRunEntry},
            {"modes", modesJson()},
            {"controls", controls}};
}

void writeShownTexts(std::ostream& out)
{
    for (const ControlDesign& control : buffon::controlDesigns()) {
        out << buffon::controlText(control) << '\n';
    }
    out << buffon::kBoxTitle << '\n' << buffon::kExitPrompt << '\n';
    out << buffon::kTextbookCountCaption << '\n' << kMenuName << "\n0123456789.\n";
    out << buffon::kStopRunEntry << '\n';
    for (const Json& mode : modesJson()) {
        out << mode["text"].get<std::string>() << '\n';
        for (const Json& choice : mode.value("choices", Json::array())) {
            out << choice["text"].get<std::string>() << '\n';
        }
    }
    // The mode line with every mode on, and the reseed value's other two ways.
    buffon::LessonModes modes{true, 5, true, true, 0.5f, 1, true};
    out << buffon::modeLine(modes, 0.5f) << '\n' << buffon::modeLine(modes, std::nullopt) << '\n';
    modes.reseed.reset();
    out << buffon::modeLine(modes, std::nullopt) << '\n';
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: design_script SCRIPT TEXTS\n";
        return 2;
    }
    const Json design = designJson();
    std::ofstream script(argv[1]);
    script << "// The window's design table, written by design_script when the page is built.\n"
           << "var Buffon = window.Buffon || {};\n"
           << "Buffon.design = " << design.dump(2) << ";\n";
    std::ofstream texts(argv[2]);
    writeShownTexts(texts);
    script.close();
    texts.close();
    if (!script || !texts) {
        std::perror("design_script");
        return 1;
    }
    return 0;
}
