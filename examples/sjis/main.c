/*
 * 在庫管理ツール: メイン処理
 * "このコメント内の文字列は報告されない"
 */
#include <stdio.h>
#include "message.h"

int main(void)
{
    /* 起動メッセージ */ printf("在庫管理を開始します\n");
    printf("Version %d\n", 3);          // ASCII only: traced, not reported
    puts("表示する項目を選んでください");  // 表 ends in the byte 0x5C
    putchar('済');
    printf("%s: %d件\n", "結果", 10);
    return 0;
}
