// The message table: every row shows its own caption, text, buttons and icon, and the answer comes back.
#include "settings/pmessage.h"

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "sjis.h"

using namespace testing_support;

namespace {

struct Row {
    const char* caption;
    const char* text;
    UINT style;
};

constexpr UINT kWarn = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kStop = MB_OK | MB_ICONHAND;

// The texts as the user reads them, independent of the program's own table.
const Row kExpected[27] = {
    {u8"ウインドウ作成", u8"目次テーブルファイルが作成できません", kWarn},
    {u8"リストを開く", u8"ファイル読み込み中にエラーが発生しました", kWarn},
    {u8"エディタの起動", u8"手順ファイルが指定されていません", kWarn},
    {u8"エディタの起動", u8"エディタが設定されていません", kWarn},
    {u8"リストの削除", u8"ログファイルが指定されていません", kStop},
    {u8"リストの削除", u8"リストの削除に失敗しました", kStop},
    {u8"ブラウザの起動", u8"リストの更新に失敗しました", kStop},
    {u8"プログラム終了", u8"起動されたブラウザが実行中です", kWarn},
    {u8"エディタの起動", u8"エディタの起動に失敗しました", kWarn},
    {u8"ブラウザの起動", u8"ブラウザの起動に失敗しました", kWarn},
    {u8"リストの編集", u8"リストが選択されていません", kWarn},
    {u8"リストの編集", u8"リスト取得でエラーが発生しました", kWarn},
    {u8"リストの追加", u8"リストが選択されていません", kWarn},
    {u8"エディタの起動", u8"ログファイルが指定されていません", kWarn},
    {u8"リストの編集", u8"リスト名が指定されていません", kWarn},
    {u8"リストの編集", u8"ブラウザが設定されていません", kWarn},
    {u8"リストの編集", u8"リストが選択されていません", kStop},
    {u8"リストの編集", u8"リストの削除に失敗しました", kStop},
    {u8"リストの編集", u8"リストの追加に失敗しました", kStop},
    {u8"リスト設定", u8"起動されたエディタが実行中です", kWarn},
    {u8"日付マクロ設定", u8"起動されたエディタが実行中です", kWarn},
    {u8"指定文字列カット処理", u8"作業ファイルが作れません", kStop},
    {u8"指定文字列カット処理", u8"ファイルのコピーに失敗しました", kStop},
    {u8"指定文字列カット処理", u8"カット処理を中断します", kWarn},
    {u8"指定文字列カット処理", u8"ファイル読み込み中にエラーが発生しました", kStop},
    {u8"指定文字列カット処理", u8"ファイル書き込み中にエラーが発生しました", kStop},
    {u8"カット手順ファイルの設定", u8"起動されたエディタが実行中です", kWarn},
};

// What a box showed: caption, text and style.
std::string Box(const testing_support::ShownBox& box) {
    return box.caption + "|" + box.text + "|" + std::to_string(box.messageBoxStyle);
}

// Every row of the table, the first and last included, numbers beyond it, and a box by its ids.
TEST(PMessageTest, EveryRowShowsItsCaptionTextAndStyleAndTheAnswerComesBack) {
    PMessage messages(GetModuleHandleA(nullptr));
    DialogDriver driver;  // a box beyond the answers queued fails the test
    for (UINT n = 0; n < 27; ++n) {
        driver.ExpectPress(IDOK);
        EXPECT_EQ(IDOK, messages.ShowMessage(nullptr, n));
    }
    EXPECT_EQ(0, messages.ShowMessage(nullptr, 27) + messages.ShowMessage(nullptr, 0xFFFF));
    for (int id : {IDOK, IDCANCEL}) driver.ExpectPress(id);
    EXPECT_EQ(IDOK, messages.ShowMessage(nullptr, 0x10001));  // taken as 16 bits: row 1
    const UINT style = MB_OKCANCEL | MB_ICONEXCLAMATION;
    EXPECT_EQ(IDCANCEL, messages.ShowMessageByIds(nullptr, IDS_CAP_DELETELIST, IDS_ASK_DELETE, style));
    ASSERT_EQ(29u, driver.Shown().size());
    for (UINT n = 0; n < 28; ++n) {
        const Row& row = kExpected[n < 27 ? n : 1];
        EXPECT_EQ(Sjis(row.caption) + "|" + Sjis(row.text) + "|" + std::to_string(row.style), Box(driver.Shown()[n]))
            << "row " << n;
    }
    const std::string askBox = Sjis(u8"リストの削除|選択されているリストを削除しても宜しいですか？|");
    EXPECT_EQ(askBox + std::to_string(style), Box(driver.Shown()[28]));
}

}  // namespace
