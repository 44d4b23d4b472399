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

constexpr int kResMovePatternCmd = 12260;
constexpr int kResRotatePatternCmd = 12261;

// Prompts of the selection and of the actions that act on a selection.
constexpr int kResSelectPrompt = 12480;
constexpr int kResSelectWindowPrompt = 12481;
constexpr int kResSelectNothingPrompt = 12482;
constexpr int kResSelectConfirmPrompt = 12483;
constexpr int kResSelectMorePrompt = 12484;
constexpr int kResBasePointPrompt = 12490;
constexpr int kResTargetPointPrompt = 12491;
constexpr int kResRotateCentrePrompt = 12492;
constexpr int kResRotateAnglePrompt = 12493;
constexpr int kResExplodePrompt = 12501;

// Prompt of a grip that moves the whole pattern.
constexpr int kResGripMovePrompt = 11511;

// Refusals: no standard shape to repeat, a property value the pattern does not take, a pattern that cannot
// be exploded, arrays that cannot be rotated.
constexpr int kResArrayBaseRefused = 12440;
constexpr int kResPropValueRefused = 12441;
constexpr int kResExplodeRefused = 12500;
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

// The pattern property bar: its caption and window id, and the groups of its grid (a single pattern's
// title and values; the summary of several patterns).
constexpr int kResPatPropBarTitle = 12100;
constexpr int kPatPropBarWindowID = 12750;
constexpr int kResPropGroupGeneral = 11501;
constexpr int kResPropGroupGeometry = 12099;
constexpr int kResPropGroupSummary = 12007;

// The options dialog of the geometry module: template, caption, its one edit and the edit's caption.
constexpr int kGeomOptDlgTemplate = 30145;
constexpr int kResGeomOptDlgTitle = 12050;
constexpr int kGeomOptAllowOffsetControl = 10901;
constexpr int kResGeomOptAllowOffset = 12051;

}  // namespace Norvane
