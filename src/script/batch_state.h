// What the batch driver keeps between runs for host programs: the text of its
// last result (zrtResStr), read back through GetEvalResult.
#pragma once

#include <string>

namespace zrt {

const std::string& zrtResStr();
void setZrtResStr(std::string text);

void resetBatchState();

}  // namespace zrt
