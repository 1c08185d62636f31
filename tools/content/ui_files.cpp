#include "tools/content/ui_files.h"

#include "tools/content/writers.h"

namespace velimoro::content {

std::vector<std::string> uiStringLines() {
  return {"; velimoro の表示文字列",
          "[Path]",
          "move\\",
          "[Forward]",
          "前進",
          "[Neutral]",
          "中立",
          "[Reverse]",
          "後進",
          "[Stop]",
          "停車",
          "[Pass]",
          "通過",
          "[Stop2]",
          "停車 (扉扱いなし)",
          "[Neut]",
          "切",
          "[Neut2]",
          "切",
          "[Apply]",
          "制動",
          "[Maintain]",
          "運転",
          "[Hold]",
          "重なり",
          "[Hold2]",
          "抑速",
          "[EB]",
          "非常",
          "[Start]",
          "開始",
          "[Move]",
          "移動",
          "[Display]",
          "表示",
          "[Control]",
          "コントローラ(&C)",
          "[Save]",
          "保存(&S)"};
}

std::vector<std::string> controllerMapLines() {
  return {"MP1",
          "MP2",
          "MP3",
          "MP4",
          "MP5",
          "MP6",
          "MN",
          "MB1",
          "MB2",
          "MB3",
          "MB4",
          "MB5",
          "MB6",
          "MB7",
          "MB8",
          "MEB",
          "RF",
          "RN",
          "RB",
          "BANN",
          "BHRN",
          "BDOR",
          "# 1-6 power P1-P6, 7 neutral, 8-15 brake B1-B8, 16 emergency,",
          "# 17-19 reverser forward, neutral, reverse, 20-22 announcement, horn, door"};
}

std::vector<std::string> helpTextLines() {
  return {"操作説明",
          "運転の始め方",
          "  メニューの「開始」を選ぶと運転が始まります。",
          "  F で前進、扉が閉まり出発時刻になったらブレーキを緩めて力行します。",
          "",
          "ハンドル (2ハンドル車)",
          "  Z / A      力行ノッチを上げる / 下げる",
          "  , / .      ブレーキを緩める / 込める",
          "  /          非常ブレーキ",
          "ハンドル (共通)",
          "  8 / 2      力行側へ / ブレーキ側へ 1段",
          "  5          ノッチ切・ブレーキ緩め",
          "  0          非常ブレーキ",
          "  マウスホイール  ハンドルを1段動かす",
          "",
          "レバーサ    F 前進 / N 中立 / B 後進 (停車中のみ)",
          "警笛        3 空気笛 / 6 電子笛",
          "ATS         スペース 確認 / R 復帰 (非常位置で停車中)",
          "定速        T (最高ノッチ、15km/h 以上)",
          "力行モード  9 または W",
          "ワンマン    D または 7 で扉、C または 1 で車内放送",
          "喚呼        Enter",
          "時刻表      F1、数値表示 F3"};
}

std::string readmeHtml() {
  return R"(<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<title>鉄道運転シミュレータ velimoro ヘルプ</title>
<style>
body { font-family: sans-serif; max-width: 52em; margin: 2em auto; line-height: 1.6; }
table { border-collapse: collapse; margin: 0.5em 0 1.5em; }
th, td { border: 1px solid #999; padding: 0.2em 0.6em; text-align: left; }
th { background: #e8eef8; }
code { background: #f2f2f2; padding: 0 0.2em; }
</style>
</head>
<body>
<h1>鉄道運転シミュレータ velimoro</h1>
<p>タイトル画面で路線を選び、続いて車両を選ぶと運転台が開きます。メニューの「開始」で運転が始まります。
このデモには青葉線の6本の路線と、QT600形電車 (2ハンドル、8段ブレーキ) と QT500形気動車
(ワンハンドル、自動空気ブレーキ) が入っています。路線ボタンを右クリックすると、好きな列車データファイルで
その路線を運転できます。</p>

<h2>路線</h2>
<table>
<tr><th>ボタン</th><th>ファイル</th><th>内容</th></tr>
<tr><td>1</td><td>line_up1_local.dat</td><td>青葉線 港町→中央 普通 (各駅停車)</td></tr>
<tr><td>2</td><td>line_up1_rapid.dat</td><td>同じ区間の快速 (汐見・緑ヶ丘・桜川を通過)</td></tr>
<tr><td>3</td><td>line_up2.dat</td><td>山線 中央→高原 ワンマン運転、25‰の勾配とトンネル</td></tr>
<tr><td>4</td><td>line_up3.dat</td><td>高原→湖畔 終点まで</td></tr>
<tr><td>5</td><td>line_in.dat</td><td>中央車両基地への入庫 (保安装置なし)</td></tr>
<tr><td>6</td><td>line_out.dat</td><td>中央車両基地からの出庫</td></tr>
</table>

<h2>キー操作</h2>
<table>
<tr><th>キー</th><th>働き</th></tr>
<tr><td>F / N / B</td><td>レバーサ 前進 / 中立 / 後進 (速度 1 km/h 以下のとき)</td></tr>
<tr><td>Z / A</td><td>2ハンドル車: 力行ノッチを上げる / 下げる。ワンハンドル車: 力行側 / ブレーキ側へ1段</td></tr>
<tr><td>, / .</td><td>2ハンドル車: ブレーキを1段緩める / 込める</td></tr>
<tr><td>/</td><td>2ハンドル車: 非常ブレーキ</td></tr>
<tr><td>Q</td><td>ワンハンドル車: ノッチ切・非常ブレーキ</td></tr>
<tr><td>8 / 2</td><td>力行側へ / ブレーキ側へ1段 (2 では非常位置まで入りません)</td></tr>
<tr><td>5</td><td>ノッチ切・ブレーキ緩め</td></tr>
<tr><td>0</td><td>非常ブレーキ</td></tr>
<tr><td>マウスホイール</td><td>ハンドルを1段ずつ動かす (奥へ回すと力行側)</td></tr>
<tr><td>3 / 6</td><td>警笛 (空気笛 / 電子笛)</td></tr>
<tr><td>スペース</td><td>ATS の確認</td></tr>
<tr><td>R</td><td>ATS 復帰 (ブレーキ非常位置で停車中)</td></tr>
<tr><td>T</td><td>定速運転 (最高ノッチ、15 km/h を超えるとき)</td></tr>
<tr><td>9 / W</td><td>力行モードの切り替え (QT600形: 通常 / 高加速)</td></tr>
<tr><td>S / X</td><td>気動車の手動変速機: 変速段を上げる / 下げる (ノッチ切のとき)</td></tr>
<tr><td>D / 7</td><td>ワンマン運転: 扉の開閉</td></tr>
<tr><td>C / 1, -</td><td>ワンマン運転: 車内放送を次へ / 前へ</td></tr>
<tr><td>Enter</td><td>喚呼 (信号、踏切、時刻)</td></tr>
<tr><td>BackSpace</td><td>終点で停車中に折り返し</td></tr>
<tr><td>F1</td><td>時刻表の表示・非表示 (← → で動かす)</td></tr>
<tr><td>F3</td><td>数値表示ウィンドウ</td></tr>
<tr><td>Page Up / Page Down</td><td>表示の切り替え</td></tr>
<tr><td>Scroll Lock</td><td>テンキーの 2 と 8 を入れ替える</td></tr>
</table>

<h2>メニュー</h2>
<table>
<tr><th>メニュー</th><th>内容</th></tr>
<tr><td>開始</td><td>運転を始める / 一時停止する</td></tr>
<tr><td>移動</td><td>途中の駅から運転を始める</td></tr>
<tr><td>表示</td><td>操作説明、数値表示、簡易運転台、入門モード、喚呼なし、列車設定 (ATS の入切、機関始動)</td></tr>
<tr><td>コントローラ</td><td>キーボード、シリアル接続のマスコン、ゲームコントローラの選択</td></tr>
<tr><td>保存</td><td>運転状態を3つまで保存し、あとで読み込む</td></tr>
</table>

<h2>路線を追加するには</h2>
<p>プログラムのフォルダ (データルート) に次のものを置きます。</p>
<ul>
<li>路線データファイル (<code>*.dat</code>、Shift-JIS のテキスト)。書式は <code>docs/route-format.md</code> にあります。</li>
<li>路線の映像: <code>move\</code> フォルダに、路線データの <code>[DataName]</code> に書いた名前の AVI ファイル。</li>
<li>路線データが名前を挙げる画像 (BMP) と音声 (WAVE) ファイル。ファイル名はデータルートからの相対パスで、
<code>\</code> 区切り、大文字小文字の違いは問いません。</li>
</ul>
<p>タイトル画面の6つのボタンは決まったファイル名を開きます。別の路線はそのファイル名で置き換えるか、
<code>velimoro-drive --route ファイル名</code> で試せます。列車は <code>train_*.dat</code> と
<code>image\</code>、<code>sound\</code> の下のフォルダで同じように追加できます。</p>
</body>
</html>
)";
}

void writeUiFiles(const std::string& root) {
  writeCp932Lines(root + "/dorvanel.dat", uiStringLines());
  writeCp932Lines(root + "/mascon.dat", controllerMapLines());
  writeCp932Lines(root + "/operation.dat", helpTextLines());
  std::string html = readmeHtml();
  std::string crlf;
  for (char c : html) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  writeBytes(root + "/readme.html", crlf);
}

}  // namespace velimoro::content
