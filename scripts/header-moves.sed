# Header moves of the base/log/calculus layering. Run on files that still
# use the old paths:  sed -i -f scripts/header-moves.sed FILE...
# (the lead runs it once on merged files, then deletes it)
s#"api/text16.h"#"base/text16.h"#g
s#"evaluator/errors.h"#"base/errors.h"#g
s#"evaluator/numtext.h"#"base/numtext.h"#g
s#"evaluator/power.h"#"numerics/power.h"#g
s#"memory/matrixsize.h"#"base/limits.h"#g
s#"ui/canvas.h"#"platform/canvas.h"#g
s#"ui/trace.h"#"log/trace.h"#g
s#"ui/debugfile.h"#"log/debugfile.h"#g
s#"ui/pluginlog.h"#"log/pluginlog.h"#g
s#"ui/version.h"#"log/version.h"#g
s#"numerics/integration.h"#"calculus/integration.h"#g
s#"numerics/solvers.h"#"calculus/solvers.h"#g
s#"numerics/solved.h"#"calculus/solved.h"#g
#
# Declarations that moved between headers (fix by hand where merged code uses them):
#   StartPluginLog()                log/pluginlog.h      -> script/runlog.h
#   writeTextFile(), WriteResult    script/files.h       -> platform/paths.h
#   GetMatrixList()                 memory/matrixstore.h -> ui/matrixprint.h
#   processAttach/processDetach     plugin/lifecycle.h   -> api/lifecycle.h
#   struct LexerReport              evaluator/lexer.h    -> base/errors.h
#   lowerAscii/upperAscii/trimBlanks base/numtext.h      -> base/strings.h (numtext.h includes it)
#   every kMax... cap and the trace/log caps             -> base/limits.h (their old headers include it)
#   abi::reportCaught               api/abi.h            -> zrt::reportCaught in base/barrier.h
# Changed: SetStrMatrix(definition, wantAddress, bool evaluate) now takes an
#   ElementReader: nullptr for plain decimals, &readMatrixElement
#   (evaluator/matrixexpr.h) to evaluate each element.
# Removed: GetLex, lexerCurrentValue, fileNameOf, optionCaption.
