#pragma once
// The report command (马上算命) without its window: fills in the lunar
// particulars of the birthday, writes the header line, runs the ticked readings
// in the panel's order and collects their sections into the plain report
// (ResultPanel::Memo1), then wraps the report into the page the viewer shows.

#include <QString>
#include <QStringList>

#include "core/text.h"
#include "readings/readings.h"

namespace tessaly {

class ReferenceStore;

// The viewer's page (its hidden FlatMemo1).
struct ReportPage {
  QStringList FlatMemo1;
};

// Builds the plain report into panel.Memo1 and, when every step succeeded, the
// page into page.FlatMemo1. An error (tessaly::Error) stops the command where it
// was: Memo1 keeps what was collected so far and the page keeps the previous
// report. The user-typed parts of the page (name, hour text, mobile number, the
// conception inputs) are escaped; texts from the store and the readings stay
// markup.
void BuildReport(const MainInputs& in, ResultPanel& panel, ReportPage& page, ReferenceStore& store,
                 const Notify& notify);

// The whole command as the window runs it: BuildReport, then the page written
// to `page_path` (empty: TempPagePath()) as a private file of the program
// (FileUse::kPrivate). The file is only written when the report is complete, so
// after an error it still holds the previous report. Returns the path written.
QString RunReport(const MainInputs& in, ResultPanel& panel, ReportPage& page, ReferenceStore& store,
                  const Notify& notify, const QString& page_path = QString());

// Writes the page as the viewer loads it: GB18030 (GBK wherever GBK holds the
// text), each line ended by CR LF, no byte-order mark, replacing the file whole.
void WriteReportPage(const QStringList& page, const QString& path,
                     FileUse use = FileUse::kChosen);

// temp.htm in the per-user cache directory (created on demand).
QString TempPagePath();

// Removes from the cache directory what interrupted writes of its pages left
// behind ("temp.htm.XXXXXX", "temp.tmp.XXXXXX") and, with `pages`, the pages
// "temp.htm" and "temp.tmp" themselves. Links go, never what they name.
// Nothing to do without a usable cache directory.
void CleanCachePages(bool pages);

}  // namespace tessaly
