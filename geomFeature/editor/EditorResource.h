#pragma once

// String resource numbers of the editor: names, prompts and messages. The texts live in the host's string
// table (ResourceString).
namespace Norvane {

// The editor's display name, carried by every command it creates.
constexpr int kResEditorName = 12005;
// Caption of every warning box.
constexpr int kResWarningCaption = 20001;

// Command names.
constexpr int kResAddPatternCmd = 12252;
constexpr int kResCopyPatternCmd = 12253;
constexpr int kResDeletePatternCmd = 12254;
constexpr int kResGripEditCmd = 12255;
constexpr int kResPropEditCmd = 12256;
constexpr int kResExplodeStdCmd = 12257;
constexpr int kResExplodeArrayCmd = 12258;
constexpr int kResArrayPatternCmd = 12259;
constexpr int kResOffsetLoopCmd = 12262;

// The selection's prompt, and the refusal to rotate arrays.
constexpr int kResSelectPrompt = 12480;
constexpr int kResRotateArrayRefused = 12522;

// The loop offset action: its prompt, its two refusals, and the captions of its dialog.
constexpr int kResOffsetLoopPrompt = 12494;
constexpr int kResOffsetLoopOpen = 12526;
constexpr int kResOffsetLoopFailed = 12527;
constexpr int kResLoopOffsetDlgTitle = 30151;
constexpr int kResLoopOffsetDistance = 30152;
constexpr int kResLoopOffsetSide = 30153;
constexpr int kResLoopOffsetInside = 30154;
constexpr int kResLoopOffsetOutside = 30155;

// The pattern property bar: its caption and window id.
constexpr int kResPatPropBarTitle = 12100;
constexpr int kPatPropBarWindowID = 12750;

}  // namespace Norvane
