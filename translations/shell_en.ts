<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>velimoro::ReportWindow</name>
    <message>
        <source>駅</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>到着</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>発車</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>定刻発車</source>
        <translation>Booked departure</translation>
    </message>
    <message>
        <source>定刻との差</source>
        <translation>Late (+) / early (−)</translation>
    </message>
    <message>
        <source>停車時間</source>
        <translation>Dwell</translation>
    </message>
    <message>
        <source>停止位置</source>
        <translation>Stop position</translation>
    </message>
    <message>
        <source>制限速度</source>
        <translation>Speed limit</translation>
    </message>
    <message>
        <source>区間</source>
        <translation>Section</translation>
    </message>
    <message>
        <source>最高速度</source>
        <translation>Top speed</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>At</translation>
    </message>
    <message>
        <source>超過</source>
        <translation>Over the limit</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>減点</source>
        <translation>Deduction</translation>
    </message>
    <message>
        <source>点</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>%1、%2 – %3：%4 km、所要 %5（うち走行 %6）、最高速度 %7 km/h。</source>
        <translation>%1, %2 – %3: %4 km in %5 (%6 on the move), top speed %7 km/h.</translation>
    </message>
    <message>
        <source>%1、%2 – %3：%4 km、所要 %5（うち走行 %6）、最高速度 %7 km/h。運転は終点の前で終わりました。</source>
        <translation>%1, %2 – %3: %4 km in %5 (%6 on the move), top speed %7 km/h. The run was ended before its last station.</translation>
    </message>
    <message>
        <source>運転レポート – %1</source>
        <translation>Run report – %1</translation>
    </message>
    <message>
        <source>得点 &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>Score &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>ブレーキ</source>
        <translation>brake applied</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>signal</translation>
    </message>
    <message>
        <source>ATS・非常ブレーキ</source>
        <translation>train protection or emergency brake</translation>
    </message>
    <message>
        <source>速度制限</source>
        <translation>Speed restrictions</translation>
    </message>
    <message>
        <source>保安装置（%1）</source>
        <translation>Train protection (%1)</translation>
    </message>
    <message>
        <source>得点</source>
        <translation>Score</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::CabWindow</name>
    <message>
        <source>一時停止(&amp;S)</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>運転再開(&amp;S)</source>
        <translation>&amp;Resume</translation>
    </message>
    <message>
        <source>喚呼なし(&amp;K)</source>
        <translation>No &amp;call-outs</translation>
    </message>
    <message>
        <source>解説あり(&amp;D)</source>
        <translation>&amp;Explanations</translation>
    </message>
    <message>
        <source>入門モード(&amp;A)</source>
        <translation>&amp;Beginner mode</translation>
    </message>
    <message>
        <source>運転支援表示(&amp;G)</source>
        <translation>&amp;Driver aids</translation>
    </message>
    <message>
        <source>運転レポート(&amp;R)</source>
        <translation>&amp;Run report</translation>
    </message>
    <message>
        <source>操作説明(&amp;U)</source>
        <translation>&amp;Controls</translation>
    </message>
    <message>
        <source>かんたん運転台(&amp;E)</source>
        <translation>&amp;Easy cab</translation>
    </message>
    <message>
        <source>列車設定(&amp;P)</source>
        <translation>&amp;Train settings</translation>
    </message>
    <message>
        <source>運転状態を復元(&amp;L)</source>
        <translation>&amp;Restore the drive</translation>
    </message>
    <message>
        <source>運転状態を保存(&amp;S)</source>
        <translation>&amp;Save the drive</translation>
    </message>
    <message>
        <source>言語を切り替えました。運転画面と小窓の一部の表示は次の運転から切り替わります。</source>
        <translation>Language changed. Some texts of the cab screen and the small windows change from the next drive.</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>メニューの「%1」か画面のクリックで運転を再開します</source>
        <translation>Choose “%1” in the menu or click the screen to resume the drive</translation>
    </message>
    <message>
        <source>メニューの「%1」か画面のクリックで運転を始めます</source>
        <translation>Choose “%1” in the menu or click the screen to start the drive</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::CommandLine</name>
    <message>
        <source>velimoro: %1
詳しくは &apos;velimoro --help&apos; を見てください。
</source>
        <translation>velimoro: %1
Try &apos;velimoro --help&apos;.
</translation>
    </message>
    <message>
        <source>鉄道運転シミュレータ %1: タイトル画面、または一つの運転の運転台。
例:
  velimoro                       見つかったデータフォルダでタイトル画面
  velimoro --root ~/trains --train train_QT600.dat --route line_up2.dat
                                 一つの運転の運転台
データフォルダは --root、なければ dorvanel.dat のあるプログラムのフォルダか
今のフォルダ、なければ利用者のデータフォルダ（XDG_DATA_HOME の velimoro）で、
最初の起動ではそこにデモを作ります。</source>
        <translation>Railway driving simulator %1: the title screen, or the cab window of one drive.
Examples:
  velimoro                       the title screen on the data root found
  velimoro --root ~/trains --train train_QT600.dat --route line_up2.dat
                                 the cab window of one drive
The data root is --root, else the program&apos;s folder or the current folder holding
dorvanel.dat, else the user&apos;s data folder (velimoro under XDG_DATA_HOME), where the demo
installation is rendered on the first start.</translation>
    </message>
    <message>
        <source>この説明を表示して終わる。</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>版を表示して終わる。</source>
        <translation>Show the version and exit.</translation>
    </message>
    <message>
        <source>表示の言語: ja（日本語）または en（英語）。</source>
        <translation>The language of the texts: ja (Japanese) or en (English).</translation>
    </message>
    <message>
        <source>データフォルダ（dorvanel.dat のあるフォルダ）。</source>
        <translation>The data root (the folder holding dorvanel.dat).</translation>
    </message>
    <message>
        <source>車両データファイル: その運転台を開く。</source>
        <translation>The train data file: opens its cab window.</translation>
    </message>
    <message>
        <source>車両データファイルのフォルダ。</source>
        <translation>The folder of the train data file.</translation>
    </message>
    <message>
        <source>運転する路線データファイル。</source>
        <translation>The route data file of the drive.</translation>
    </message>
    <message>
        <source>N 番目の駅から始める（0 は路線の始点）。</source>
        <translation>Start at station N (0 the route&apos;s start).</translation>
    </message>
    <message>
        <source>動画のフレーム F に停まって始める（その前の駅は発車済み）。</source>
        <translation>Start standing at video frame F, the stations before it left.</translation>
    </message>
    <message>
        <source>画面の下に十二の値の欄を表示する。</source>
        <translation>Show the twelve value labels under the screen.</translation>
    </message>
    <message>
        <source>S 秒のあいだ利用者なしで運転して終わる。</source>
        <translation>Run S seconds unattended, then quit.</translation>
    </message>
    <message>
        <source>終わるときに画面を保存する。</source>
        <translation>Save the picture on quitting.</translation>
    </message>
    <message>
        <source>画面を S 倍（1 から 4）の大きさで描き、その大きさで保存する。</source>
        <translation>Compose the screen at S times its size (1 to 4) and save it so.</translation>
    </message>
    <message>
        <source>運転の開始後、これらのキーを 250 ms ごとに一つずつ打つ。</source>
        <translation>Type these keys, one every 250 ms, after the start.</translation>
    </message>
    <message>
        <source>一秒あたりのステップと描画の回数、CPU の負荷を表示する。</source>
        <translation>Print steps, passes and CPU load a second.</translation>
    </message>
    <message>
        <source>すべての入力をスクリプトとして記録する。</source>
        <translation>Record every input as a script.</translation>
    </message>
    <message>
        <source>ティックごとに状態の値を一行ずつ書く。</source>
        <translation>Write one row of state fields a tick.</translation>
    </message>
    <message>
        <source>最初の引数として: 1 は値の欄のある表示、ほかは通常の表示。</source>
        <translation>As the first argument: 1 the band display, anything else the normal one.</translation>
    </message>
    <message>
        <source>使い方: velimoro [1] [オプション]</source>
        <translation>Usage: velimoro [1] [options]</translation>
    </message>
    <message>
        <source>余分な引数 &apos;%1&apos; があります</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--lang には ja か en を指定してください（&apos;%1&apos; ではなく）</source>
        <translation>--lang needs ja or en, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--start には整数を指定してください（&apos;%1&apos; ではなく）</source>
        <translation>--start needs a whole number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--start-frame にはフレーム番号を指定してください（&apos;%1&apos; ではなく）</source>
        <translation>--start-frame needs a frame number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--seconds には秒数を指定してください（&apos;%1&apos; ではなく）</source>
        <translation>--seconds needs a duration, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--screenshot-scale には 1 から 4 の倍率を指定してください（&apos;%1&apos; ではなく）</source>
        <translation>--screenshot-scale needs a scale from 1 to 4, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--train と --route は一緒に指定してください</source>
        <translation>--train and --route go together</translation>
    </message>
    <message>
        <source>シリアル接続のマスコンを PORT につなぐ。</source>
        <translation>Connect the serial master controller on PORT.</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::ControllerMenu</name>
    <message>
        <source>標準/DVマスコン(&amp;N)</source>
        <translation>&amp;Keyboard / serial master controller</translation>
    </message>
    <message>
        <source>アナログ軸式ゲームコントローラ</source>
        <translation>Game controller with analogue axes</translation>
    </message>
    <message>
        <source>ボタン式ゲームコントローラ</source>
        <translation>Game controller with buttons</translation>
    </message>
    <message>
        <source>DVマスコン（設定）(&amp;P)</source>
        <translation>Serial master controller: &amp;port settings</translation>
    </message>
    <message>
        <source>DVマスコン（接続/切断）(&amp;C)</source>
        <translation>Serial master controller: &amp;connect / disconnect</translation>
    </message>
    <message>
        <source>コントローラの設定と確認(&amp;S)...</source>
        <translation>Controller &amp;setup and test...</translation>
    </message>
    <message>
        <source>デバッグオプション(&amp;D)</source>
        <translation>&amp;Debug option</translation>
    </message>
    <message>
        <source>DVマスコンとの接続が切れました（%1: %2）。
キーボードで運転を続けられます。接続し直すにはコントローラメニューの「接続」を選んでください。</source>
        <translation>The serial master controller was disconnected (%1: %2).
You can drive on with the keyboard. To connect again, choose “connect” in the Controller menu.</translation>
    </message>
    <message>
        <source>DVマスコンに接続できません。
%1</source>
        <translation>Cannot connect the serial master controller.
%1</translation>
    </message>
    <message>
        <source>Disconnect from controller.</source>
        <translation>Controller disconnected.</translation>
    </message>
    <message>
        <source>Connect to controller.</source>
        <translation>Controller connected.</translation>
    </message>
    <message>
        <source>ゲームコントローラ（%1）が外れました。
つなぎ直すと次の読み取りで見つかります。</source>
        <translation>The game controller (%1) was unplugged.
Plug it in again and the next reading finds it.</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::ControllerSetupWindow</name>
    <message>
        <source>前進</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>中立</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>後進</source>
        <translation>Reverse</translation>
    </message>
    <message>
        <source>放送</source>
        <translation>Announcement</translation>
    </message>
    <message>
        <source>警笛</source>
        <translation>Horn</translation>
    </message>
    <message>
        <source>ドア</source>
        <translation>Doors</translation>
    </message>
    <message>
        <source>境目（変化なし）</source>
        <translation>between notches (no change)</translation>
    </message>
    <message>
        <source>P0（切）</source>
        <translation>P0 (notch off)</translation>
    </message>
    <message>
        <source>B0（緩め）</source>
        <translation>B0 (released)</translation>
    </message>
    <message>
        <source>コントローラの設定と確認</source>
        <translation>Controller setup and test</translation>
    </message>
    <message>
        <source>次へ(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>最初から(&amp;R)</source>
        <translation>&amp;Start over</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>S&amp;ave</translation>
    </message>
    <message>
        <source>ゲームコントローラ</source>
        <translation>Game controller</translation>
    </message>
    <message>
        <source>使うジョイスティック</source>
        <translation>Joystick to read</translation>
    </message>
    <message>
        <source>ボタン式ゲームコントローラのコード</source>
        <translation>Codes of the game controller with buttons</translation>
    </message>
    <message>
        <source>DVマスコンの受信</source>
        <translation>Received from the serial master controller</translation>
    </message>
    <message>
        <source>保存しました。次の運転から使われます。</source>
        <translation>Saved. The codes are used from the next drive.</translation>
    </message>
    <message>
        <source>最初に見つかったもの</source>
        <translation>The first one found</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1（つながっていません）</source>
        <translation>%1 (not connected)</translation>
    </message>
    <message>
        <source>ジョイスティックが見つかりません。つなぐと表示されます。</source>
        <translation>No joystick found. It shows here once plugged in.</translation>
    </message>
    <message>
        <source>選んだジョイスティックがつながっていません。つなぐと表示されます。</source>
        <translation>The chosen joystick is not connected. It shows here once plugged in.</translation>
    </message>
    <message>
        <source>%1（軸 %2、ボタン %3）</source>
        <translation>%1 (%2 axes, %3 buttons)</translation>
    </message>
    <message>
        <source>X: %1  Y: %2
ボタン 0→15: %3
ハンドルのコード %4  ブレーキのコード %5  合計 %6</source>
        <translation>X: %1  Y: %2
Buttons 0→15: %3
Power code %4  brake code %5  sum %6</translation>
    </message>
    <message>
        <source>アナログ軸式として: Y → %1、X → %2</source>
        <translation>As analogue axes: Y → %1, X → %2</translation>
    </message>
    <message>
        <source>まだすべての位置のコードを取っていません。</source>
        <translation>The codes of some positions are not taken yet.</translation>
    </message>
    <message>
        <source>ハンドルを %1 に置いて「次へ」を押してください。</source>
        <translation>Put the handle in %1 and press “Next”.</translation>
    </message>
    <message>
        <source>すべての位置のコードを取りました。「保存」で記録します。</source>
        <translation>Every position’s code is taken. “Save” keeps them.</translation>
    </message>
    <message>
        <source> %1行目（%2）</source>
        <translation> line %1 (%2)</translation>
    </message>
    <message>
        <source>%1 →%2</source>
        <translation>%1 →%2</translation>
    </message>
    <message>
        <source> 一致なし</source>
        <translation> no match</translation>
    </message>
    <message>
        <source>%1 → コードでない %2 バイトを捨てました</source>
        <translation>%1 → dropped %2 bytes that were no code</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::FirstStart</name>
    <message>
        <source>初めての起動です。デモの路線と車両を %1 に作成しています（数分かかります）。</source>
        <translation>First start: rendering the demo routes and trains into %1 (this takes a few minutes).</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>デモの作成に失敗しました。
%1</source>
        <translation>The demo could not be rendered.
%1</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::Program</name>
    <message>
        <source>鉄道運転シミュレータ</source>
        <translation>Railway Driving Simulator</translation>
    </message>
    <message>
        <source>velimoro: %1 に書き込めません
</source>
        <translation>velimoro: cannot write %1
</translation>
    </message>
    <message>
        <source>velimoro: ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。画面なしで運転するには velimoro-drive を使ってください。
</source>
        <translation>velimoro: there is no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); velimoro-drive drives without one.
</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::SerialSetupDialog</name>
    <message>
        <source>DVマスコン（設定）</source>
        <translation>Serial master controller: port settings</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>ポート</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>ボーレート</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>データビット</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>パリティ</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>ストップビット</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>フロー制御</source>
        <translation>Flow control</translation>
    </message>
</context>
<context>
    <name>velimoro::shell::TitleWindow</name>
    <message>
        <source>%1 が見つかりません</source>
        <translation>%1 was not found</translation>
    </message>
    <message>
        <source>%1: 大きすぎて表示できません</source>
        <translation>%1: too large to show</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>クリックしてスタート</source>
        <translation>Click to start</translation>
    </message>
</context>
<context>
    <name>velimoro::windows::CrewChangeDialog</name>
    <message>
        <source>交代しますか？</source>
        <translation>Change crews?</translation>
    </message>
    <message>
        <source>乗務員交代駅です。</source>
        <translation>This is a crew-change station.</translation>
    </message>
    <message>
        <source>運転継続をクリックすると続けて運転します。</source>
        <translation>Click “Drive on” to go on driving.</translation>
    </message>
    <message>
        <source>運転継続</source>
        <translation>Drive on</translation>
    </message>
    <message>
        <source>運転終了</source>
        <translation>End the drive</translation>
    </message>
</context>
<context>
    <name>velimoro::windows::EasyCab</name>
    <message>
        <source>かんたん運転台</source>
        <translation>Easy cab</translation>
    </message>
    <message>
        <source>ブレーキ</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>惰行
（ニュートラル）</source>
        <translation>Coasting
(neutral)</translation>
    </message>
    <message>
        <source>加速</source>
        <translation>Power</translation>
    </message>
</context>
<context>
    <name>velimoro::windows::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>velimoro::windows::TrainSettingsDialog</name>
    <message>
        <source>列車設定</source>
        <translation>Train settings</translation>
    </message>
    <message>
        <source>ATS</source>
        <translation>Train protection (ATS)</translation>
    </message>
    <message>
        <source>入</source>
        <translation>On</translation>
    </message>
    <message>
        <source>切</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>機関始動</source>
        <translation>Engine</translation>
    </message>
    <message>
        <source>始動</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>運転</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>乗務員交代駅</source>
        <translation>Crew-change station</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>velimoro::windows::ValueDisplay</name>
    <message>
        <source>速度 km/h（左）</source>
        <translation>Speed km/h (left)</translation>
    </message>
    <message>
        <source>BC kPa（右）</source>
        <translation>BC kPa (right)</translation>
    </message>
    <message>
        <source>BP kPa（右）</source>
        <translation>BP kPa (right)</translation>
    </message>
    <message>
        <source>Value Display</source>
        <translation>Value Display</translation>
    </message>
    <message>
        <source>SU再読込</source>
        <translation>Reload SU</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>frame</translation>
    </message>
    <message>
        <source>jump</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>抵抗解除</source>
        <translation>No resistance</translation>
    </message>
    <message>
        <source>フレーム番号を数字で入力してください: %1</source>
        <translation>Enter the frame number as digits: %1</translation>
    </message>
</context>
</TS>
