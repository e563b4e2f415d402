/* 状態行の文言 (BOM 付き UTF-8) */
#ifndef STATUS_H
#define STATUS_H

#define STATUS_READY    "準備完了"
#define STATUS_BUSY     "処理中です。しばらくお待ちください"
#define STATUS_MARK     '★'

void SetStatus(const char *text);

#endif
