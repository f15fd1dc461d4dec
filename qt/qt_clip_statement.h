#pragma once

// The clip statement as a PDF: its text laid out by Qt's PDF writer as the
// report PDF is, then the chart of the clip's plays per day.

#include <QString>

#include "reports/clip_statement.h"

namespace vantic {

// The statement's text as HTML: title, clip, range, one row per unit with
// the totals, the generation time.
[[nodiscard]] QString StatementHtml(const ClipStatement& statement);

// Writes the statement to path, replacing it only once complete; false when
// it could not be written.
[[nodiscard]] bool WriteStatementPdf(const ClipStatement& statement, const QString& path);

}  // namespace vantic
