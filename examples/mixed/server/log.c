/* 受注サーバのログ出力 (EUC-JP) */
#include <stdio.h>
#include <syslog.h>

void log_connect(const char *host, int port)
{
    syslog(LOG_INFO, "%s:%d に接続しました", host, port);
}

void log_config_error(const char *path)
{
    /* 設定ファイルが無い時は既定値で続ける */
    fprintf(stderr, "設定ファイル %s が読めません\n", path);
    fprintf(stderr, "Using defaults.\n");
}
