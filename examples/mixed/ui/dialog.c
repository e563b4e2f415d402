/* 期間指定ダイアログ (UTF-8 に移行済み) */
#include <stdio.h>
#include "status.h"

static const char *kPeriodLabel = "集計期間: %s〜%s";

void ShowPeriodDialog(const char *from, const char *to)
{
    printf(kPeriodLabel, from, to);
    puts("1〜31 の日付を入力してください");  /* 〜 は波ダッシュ */
    SetStatus(STATUS_READY);
}
