#ifndef MESSAGE_H
#define MESSAGE_H

/* エラーメッセージ一覧
   ここは複数行のコメント
   "未使用" */
#define MSG_OPEN_ERROR  "ファイルを開けません"
#define MSG_SAVE_DONE   "保存しました"
#define MSG_KANA        "ｶﾀｶﾅ ﾃﾞｽ"   /* 半角カナ */

#endif
