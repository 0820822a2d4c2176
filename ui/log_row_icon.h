// Which picture a log row carries, so that a failure stands out from a set clock at a glance.
#pragma once

#include "round/log_rows.h"

enum class RowIcon {
    Set,      // the clock was set from this row, or this server agreed with the one that set it
    Trouble,  // anything else: no answer, a refusal, held back, disagreeing, unconfirmed
};

RowIcon IconOfRow(const LogRow& row);
