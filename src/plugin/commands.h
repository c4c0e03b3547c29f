// The commands of the plug-in's menu and of tool-tip evaluation: each one
// collects text from the editor, runs one parameter line through the batch
// driver and brings the result back.
#pragma once

#include <string>

namespace zrt {

// Button results of the confirmation.
constexpr int kBtnYes = 6;
constexpr int kBtnNo = 7;
constexpr int kBtnNothing = 2;

// The menu commands (Notepad++ calls them; nothing escapes them).
void zrtE_CurFile() noexcept;
void zrtE_CurLineToFile() noexcept;
void zrtE_CurLineToWndMnu() noexcept;
void zrtE_SelTextToWndMnu() noexcept;
void zrtE_Expr() noexcept;
void zrtE_ShowMem() noexcept;
void zrtE_InsertFileName() noexcept;
void zrtE_About() noexcept;

// The two window commands; in tool-tip mode the result stays in the driver's
// result text for the call tip. Return 0, or 2 / 1 in tool-tip mode.
int zrtE_CurLineToWnd(bool toolTipMode);
int zrtE_SelTextToWnd(bool toolTipMode);

// The expression to evaluate (a bare expression becomes "Expr = ..."), and the
// button result through `button`.
std::string CheckExpressionS(const std::string& expression, const std::string& caption, int* button,
                             bool toolTipMode);

// The Decimals entry of the Options menu.
void decimalsDialog();

}  // namespace zrt
