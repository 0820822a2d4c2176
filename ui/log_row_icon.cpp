// The picture of a log row, read from its status, the one word every kind of row has.
#include "log_row_icon.h"

#include "res/texts.h"

RowIcon IconOfRow(const LogRow& row)
{
    const bool fine = row.status == texts::kStatusSynced || row.status == texts::kStatusSyncedNts ||
                      row.status == texts::kStatusAgreed || row.status == texts::kStatusByService;
    return fine ? RowIcon::Set : RowIcon::Trouble;
}
