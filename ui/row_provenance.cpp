#include "ui/row_provenance.h"

#include <QStringList>

#include "engine/record_provenance.h"
#include "engine/record_rows.h"

namespace velkor {

std::vector<RowProvenance> ProvenanceRows(const RecordStores& stores, int tab) {
  const size_t count = RecordRowCount(stores, tab);
  const std::vector<uint32_t> duplicates = DuplicateOf(stores, tab);
  std::vector<RowProvenance> rows(count);
  for (size_t i = 0; i < count; ++i) {
    RowProvenance& row = rows[i];
    row.offsets = RecordOffsets(stores, tab, i);
    if (const RecordOrigin* origin = RecordOriginOf(stores, tab, i)) {
      if (const auto file = RecordSourceFile(stores, *origin)) row.sourceFile = file->u16string();
      const std::string_view found = FoundByName(origin->found);
      row.foundBy.assign(found.begin(), found.end());
    }
    if (i < duplicates.size()) row.duplicateOf = duplicates[i];
    row.seconds = RecordListSeconds(stores, tab, i);
  }
  return rows;
}

QString OffsetText(uint64_t offset) {
  return QStringLiteral("0x%1 (%2)")
      .arg(QString::number(offset, 16).toUpper())
      .arg(QString::number(offset));
}

QString OffsetsText(const std::vector<uint64_t>& offsets) {
  QStringList texts;
  for (const uint64_t offset : offsets) texts << OffsetText(offset);
  return texts.join(QStringLiteral(", "));
}

}  // namespace velkor
