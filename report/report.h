// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report command (马上算命) without its window: finds the lunar particulars
// of the birthday, writes the header line, runs the chosen readings in the
// order of their sections and collects the sections into the plain report, then
// wraps the report into the page the viewer shows.

#include <QString>
#include <QStringList>

#include <optional>

#include "core/text.h"
#include "readings/readings.h"

namespace tessaly {

class ReferenceStore;

struct Report {
  QStringList plain;  // the plain report, as exported
  QStringList page;   // the HTML page, one line per line

  // The results of the readings that ran.
  struct Results {
    LunarBirth lunar;
    std::optional<NameResult> name;
    std::optional<LifetimeResult> lifetime;
    std::optional<ForecastResult> zodiac;
    std::optional<ForecastResult> star_sign;
    std::optional<MobileResult> mobile;
    std::optional<PregnancyResult> child_sex;
    std::optional<PregnancyResult> conception;
    std::optional<BaziResult> bazi;
  } results;
};

// Builds the report of `person.readings` into `report`: the plain report and the
// results anew and, when every step succeeded, the page. An error
// (tessaly::Error) stops the command where it was: `plain` and `results` keep
// what was collected so far and `page` keeps the previous report. The
// user-typed parts of the page (name, hour text, mobile number, the conception
// inputs) are escaped; texts from the store and the readings stay markup.
void BuildReport(const Person& person, ReferenceStore& store, const Notify& notify, Report& report);

// The whole command as the window runs it: BuildReport, then the page written
// to `page_path` (empty: TempPagePath()) as a private file of the program
// (FileUse::kPrivate). The file is only written when the report is complete, so
// after an error it still holds the previous report. Returns the path written.
QString RunReport(const Person& person, ReferenceStore& store, const Notify& notify, Report& report,
                  const QString& page_path = QString());

// Writes the page as the viewer loads it: GB18030 (GBK wherever GBK holds the
// text), each line ended by CR LF, no byte-order mark, replacing the file whole.
void WriteReportPage(const QStringList& page, const QString& path, FileUse use = FileUse::kChosen);

// The page files in the page folder: the page as the report command writes it
// (temp.htm) and the viewer's copy of it in another font (temp.tmp).
QString TempPagePath();
QString StyledPagePath();

// The folder of the page files: the per-user cache directory (created on
// demand), or the folder given to SetPageDir (the desktop program gives each
// running copy a private one, so that two copies never share their pages).
QString PageDir();
void SetPageDir(const QString& dir);

// Removes from the page folder what interrupted writes of its pages left
// behind ("temp.htm.XXXXXX", "temp.tmp.XXXXXX") and, with `pages`, the pages
// "temp.htm" and "temp.tmp" themselves. Links go, never what they name.
// Nothing to do without a usable cache directory.
void CleanCachePages(bool pages);

}  // namespace tessaly
