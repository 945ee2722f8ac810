#include "res/strings.h"

const char* loadResourceString(int id) {
  switch (id) {
    case IDS_ABOUTBOX:
      return "Quillmoor のﾊﾞｰｼﾞｮﾝ情報(&A)...";
    case IDP_SOCKETS_INIT_FAILED:
      return "Windows ｿｹｯﾄの初期化に失敗しました。";
    default:
      return "";
  }
}
