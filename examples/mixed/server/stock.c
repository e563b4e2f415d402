/*
 * This file is EUC-JP. Every byte of its Japanese text lies in A1-DF, so
 * it is also valid Shift_JIS (as half-width katakana); AUTO still reads it
 * as EUC-JP, whose reading holds the kana and kanji.
 */
/* 倉庫サーバ: 在庫確認 */
#include <stdio.h>

static const char *stock_msg[] = {
    "在庫確認",
    "出荷済",
    "未納品",
    "サーバに接続できない",
};

const char *stock_message(int code)
{
    if (code < 0 || code > 3) return "不正";  /* 範囲外 */
    return stock_msg[code];
}
