<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CheckCommand</name>
    <message>
        <source>使い方: velimoro-check [--root DIR] [--json] [--no-video] [--lang ja|en] [FILE...]
データルートの車両ファイルと路線ファイルのすべてと dorvanel.dat、mascon.dat、
operation.dat を、または FILE に挙げたファイルだけを調べます。終了コードは、誤りが
なければ 0、誤りがあれば 1、コマンドラインの誤りは 2、SIGTERM・SIGINT・SIGHUP で
途中で終わったときは 128 + シグナル番号です。
  --root DIR      データルート（既定は現在のフォルダ）
  --json          見つかったことを 1 件 1 行の JSON オブジェクトで書く
  --no-video      路線の映像と場面の動画を探さない
  --lang ja|en    表示の言語（既定は設定に保存された言語、なければシステムのロケール）
  -h, --help      このヘルプを表示して終了する
  -v, --version   バージョンを表示して終了する
例:
  velimoro-check --root ~/trains --no-video
</source>
        <translation>Usage: velimoro-check [--root DIR] [--json] [--no-video] [--lang ja|en] [FILE...]
Checks every train and route data file, dorvanel.dat, mascon.dat and operation.dat of
the data root, or only the FILEs named; exit status 0 without errors, 1 with errors, 2 for
a bad command line, 128 + the signal when SIGTERM, SIGINT or SIGHUP ended it early.
  --root DIR      the data root (the current folder by default)
  --json          one JSON object a finding and line
  --no-video      do not look for the route videos and scene movies
  --lang ja|en    the language of the texts (by default the stored one, else the locale&apos;s)
  -h, --help      show this help and exit
  -v, --version   show the version and exit
Example:
  velimoro-check --root ~/trains --no-video
</translation>
    </message>
    <message>
        <source>知らないオプションか、値がありません: %1</source>
        <translation>unknown option or missing value: %1</translation>
    </message>
    <message>
        <source>フォルダ %1 がありません</source>
        <translation>no folder %1</translation>
    </message>
    <message>
        <source>シグナル %1 で終わりました。調べていないファイルがあります</source>
        <translation>ended by signal %1 before every file was checked</translation>
    </message>
</context>
<context>
    <name>Checker</name>
    <message>
        <source>mascon.datがありません。シリアル接続のマスコンのコードが定まりません</source>
        <translation>mascon.dat is missing: the serial master controller has no codes</translation>
    </message>
    <message>
        <source>operation.datがありません。ヘルプ画面は空になります</source>
        <translation>operation.dat is missing: the help window is empty</translation>
    </message>
    <message>
        <source>車両ファイルでも路線ファイルでもありません。どちらのセクションを始める行もありません</source>
        <translation>neither a train nor a route data file: no line opens a section of either</translation>
    </message>
    <message>
        <source>ファイルがありません</source>
        <translation>no such file</translation>
    </message>
</context>
<context>
    <name>ContentCheck</name>
    <message>
        <source>%1: 場面の動画「%2」を開けません: %3</source>
        <translation>%1: scene movie &quot;%2&quot; cannot be opened: %3</translation>
    </message>
    <message>
        <source>%1: 場面の動画「%2」は%3フレームしかありませんが、路線は%4フレームを再生します</source>
        <translation>%1: scene movie &quot;%2&quot; holds %3 frames, the route plays %4</translation>
    </message>
    <message>
        <source>作ったファイルにデータチェッカーが見つけたこと:</source>
        <translation>the data checker finds in the rendered files:</translation>
    </message>
</context>
<context>
    <name>ContentCommand</name>
    <message>
        <source>使い方: velimoro-content (--out DIR | --user) [--no-video | --hd] [--lang ja|en]
        velimoro-content --icons DIR
デモのインストールを作ります: 車両 2 編成、映像つきの路線 6 本、タイトル画面の絵と
音楽、音、喚呼の音声、ヘルプのファイル。
  --out DIR       DIR に作る
  --user          ユーザーのデータフォルダ（XDG_DATA_HOME の下の velimoro）に作る。
                  velimoro は --root なしでそこを見つけます
  --no-video      路線の映像と場面の動画を作らない（ずっと速い）
  --hd            路線の映像と場面の動画を 604 x 340 でなく 1280 x 720 で作る。
                  大きな画面でも鮮明です（ディスクはおよそ 3 倍、作る時間は
                  数倍かかります）
  --icons DIR     プログラムのアイコンをアイコンテーマの配置で DIR に描く
  --lang ja|en    表示の言語（既定は設定に保存された言語、なければシステムのロケール）
  -h, --help      このヘルプを表示して終了する
  -v, --version   バージョンを表示して終了する
SIGTERM・SIGINT・SIGHUP で作成を止めます（終了コードは 128 + シグナル番号）。
--user のときは何も残しません。
例:
  velimoro-content --out ~/velimoro-demo &amp;&amp; velimoro --root ~/velimoro-demo
</source>
        <translation>Usage: velimoro-content (--out DIR | --user) [--no-video | --hd] [--lang ja|en]
       velimoro-content --icons DIR
Renders the demo installation: two trains, six routes with their videos, the title
screen&apos;s pictures and music, sounds, call-out voices and help files.
  --out DIR       render into DIR
  --user          render into the user&apos;s data folder (velimoro under XDG_DATA_HOME),
                  where velimoro finds it without --root
  --no-video      leave out the route videos and scene movies (much faster)
  --hd            render the route videos and scene movies at 1280 x 720 instead of
                  604 x 340, sharp on a large screen (about three times the disc
                  space and several times the rendering time)
  --icons DIR     draw the program&apos;s icons into DIR as the icon theme lays them out
  --lang ja|en    the language of the texts (by default the stored one, else the locale&apos;s)
  -h, --help      show this help and exit
  -v, --version   show the version and exit
SIGTERM, SIGINT and SIGHUP stop the rendering (exit status 128 + the signal); with --user
nothing is left behind.
Example:
  velimoro-content --out ~/velimoro-demo &amp;&amp; velimoro --root ~/velimoro-demo
</translation>
    </message>
    <message>
        <source>使い方は「velimoro-content --help」で表示できます。</source>
        <translation>Try &apos;velimoro-content --help&apos;.</translation>
    </message>
    <message>
        <source>XDG_DATA_HOME も HOME もフォルダを指していません</source>
        <translation>neither XDG_DATA_HOME nor HOME names a folder</translation>
    </message>
    <message>
        <source>%1 にはすでにファイルがあります。先に削除するか、--out で別の場所に作ってください</source>
        <translation>%1 already holds files; remove it first, or render elsewhere with --out</translation>
    </message>
    <message>
        <source>デモのインストール: %1</source>
        <translation>demo installation in %1</translation>
    </message>
    <message>
        <source>%1 にはフォルダが必要です</source>
        <translation>%1 needs a folder</translation>
    </message>
    <message>
        <source>「%1」というオプションはありません</source>
        <translation>unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--out DIR、--user、--icons DIR のどれか 1 つを指定してください</source>
        <translation>name one of --out DIR, --user and --icons DIR</translation>
    </message>
    <message>
        <source>--hd は映像を作る指定ですが、--no-video は映像を作りません</source>
        <translation>--hd renders the videos that --no-video leaves out</translation>
    </message>
    <message>
        <source>シグナル %1 で終わりました。何もインストールしていません</source>
        <translation>ended by signal %1; nothing was installed</translation>
    </message>
    <message>
        <source>シグナル %1 で終わりました。%2 には作りかけのファイルが残っています</source>
        <translation>ended by signal %1; %2 holds an unfinished rendering</translation>
    </message>
</context>
<context>
    <name>ContentProgress</name>
    <message>
        <source>喚呼の音声と車内放送には espeak-ng が必要です。インストールしてください（scripts/install-deps）</source>
        <translation>espeak-ng is needed for the call-out voices and announcements; install it (scripts/install-deps)</translation>
    </message>
    <message>
        <source>車両: 運転台の絵と音つきの車両ファイル %1 本</source>
        <translation>trains: %1 train files with cab panels and sounds</translation>
    </message>
    <message>
        <source>路線: 時刻表つきの路線ファイル %1 本</source>
        <translation>routes: %1 route files with timetable cards</translation>
    </message>
    <message>
        <source>路線の画像: 信号機、標識、キロポスト、看板</source>
        <translation>route pictures: signals, boards, kilometre posts, signs</translation>
    </message>
    <message>
        <source>音: 路線の音と駅の車内放送 %1 件</source>
        <translation>sounds: route sounds and %1 station announcements</translation>
    </message>
    <message>
        <source>喚呼: 喚呼の音声 %1 件</source>
        <translation>call-outs: %1 call-out voices</translation>
    </message>
    <message>
        <source>文字列: dorvanel.dat、mascon.dat、operation.dat、readme.html</source>
        <translation>strings: dorvanel.dat, mascon.dat, operation.dat, readme.html</translation>
    </message>
    <message>
        <source>タイトル画面: ボタン、路線図、タイトルの絵、スライド、音楽</source>
        <translation>title screen: buttons, maps, title pictures, slides and music</translation>
    </message>
    <message>
        <source>映像: 路線の映像と場面の動画 %1 本</source>
        <translation>videos: route videos and %1 scene movies</translation>
    </message>
    <message>
        <source>確認: 車両・路線・文字列のファイルはどれも読み戻せます</source>
        <translation>check: every train, route and string file reads back</translation>
    </message>
    <message>
        <source>日本語のフォント %1 がありません。fonts-noto-cjk をインストールしてください（scripts/install-deps）</source>
        <translation>the Japanese font %1 is missing; install fonts-noto-cjk (scripts/install-deps)</translation>
    </message>
    <message>
        <source>FreeType を始められません</source>
        <translation>FreeType cannot start</translation>
    </message>
    <message>
        <source>フォント %1 を読めません</source>
        <translation>cannot read the font %1</translation>
    </message>
    <message>
        <source>フォント %1 には書体「%2」がありません</source>
        <translation>the font %1 has no face &quot;%2&quot;</translation>
    </message>
    <message>
        <source>場面の動画 %1.avi: %2 フレーム、%3 kB</source>
        <translation>scene movie %1.avi: %2 frames, %3 kB</translation>
    </message>
    <message>
        <source>映像 %1: %2/%3 フレーム</source>
        <translation>video %1: %2/%3 frames</translation>
    </message>
    <message>
        <source>映像 %1.avi: %2 フレームを %3 秒で、%4 MB</source>
        <translation>video %1.avi: %2 frames in %3 s, %4 MB</translation>
    </message>
    <message>
        <source>espeak-ng が「%2」を読み上げられませんでした（終了コード %1）。espeak-ng はインストールされていますか</source>
        <translation>espeak-ng failed (status %1) speaking &quot;%2&quot;; is espeak-ng installed?</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>cannot write %1</translation>
    </message>
</context>
<context>
    <name>DriveCommand</name>
    <message>
        <source>使い方: velimoro-drive --route FILE --train FILE [オプション]
ウィンドウを開かずに 1 回の運転を走らせ、起きたことを書き出します。
  --root DIR              データルート（既定は現在のフォルダ）
  --route FILE            路線ファイル（必須）
  --train FILE            車両ファイル（必須）
  --train-folder DIR      車両ファイルのフォルダ
  --start N               N 番目の駅から始める（0 は路線の開始位置）
  --start-frame F         映像のフレーム F に停車して始める（手前の駅は発車済み）
  --script FILE           入力: 「&lt;秒&gt; &lt;コマンド&gt; [引数]」の行
  --seconds S             S 秒運転する（既定 60、スクリプトに quit があればそこまで）
  --trace FILE.csv        ティックごとに状態の値を 1 行
  --events FILE           音・喚呼・メッセージ・ノッチ・ブレーキの原因のイベント
  --settings LIST         kanko=0,information=1,ats=1,aids=0
  --report FILE.html      運転成績（FILE.json ならそのデータ）
  --lang ja|en            表示の言語（既定は設定に保存された言語、なければシステムのロケール）
  -h, --help              このヘルプを表示して終了する
  -v, --version           バージョンを表示して終了する
例:
  velimoro-drive --root demo --route line_up2.dat --train train_QT600.dat \
      --script drive.txt --trace trace.csv
</source>
        <translation>Usage: velimoro-drive --route FILE --train FILE [options]
Runs one drive without a window and writes what happened.
  --root DIR              the data root (the current folder by default)
  --route FILE            the route data file (required)
  --train FILE            the train data file (required)
  --train-folder DIR      the folder of the train data file
  --start N               start at station N (0 the route&apos;s start)
  --start-frame F         start standing at video frame F, the stations before it left
  --script FILE           the inputs: lines of &apos;&lt;seconds&gt; &lt;command&gt; [args]&apos;
  --seconds S             drive S seconds (60, or up to the script&apos;s quit)
  --trace FILE.csv        one row of state fields a tick
  --events FILE           the sound, call-out, message, notch and brake-cause events
  --settings LIST         kanko=0,information=1,ats=1,aids=0
  --report FILE.html      the run report (FILE.json: its data)
  --lang ja|en            the language of the texts (by default the stored one, else the locale&apos;s)
  -h, --help              show this help and exit
  -v, --version           show the version and exit
Example:
  velimoro-drive --root demo --route line_up2.dat --train train_QT600.dat \
      --script drive.txt --trace trace.csv
</translation>
    </message>
    <message>
        <source>使い方は「velimoro-drive --help」で表示できます。</source>
        <translation>Try &apos;velimoro-drive --help&apos;.</translation>
    </message>
</context>
<context>
    <name>HeadlessDrive</name>
    <message>
        <source>シグナル %1 で終わりました</source>
        <translation>ended by signal %1</translation>
    </message>
    <message>
        <source>%1 には整数を指定してください（「%2」ではなく）</source>
        <translation>%1 must be a whole number, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--settings: 名前=値 の形で指定してください</source>
        <translation>--settings: expected name=value</translation>
    </message>
    <message>
        <source>--settings: 「%1」という設定はありません</source>
        <translation>--settings: unknown setting &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 には値が必要です</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>--start-frame: フレーム番号ではありません</source>
        <translation>--start-frame: not a frame number</translation>
    </message>
    <message>
        <source>--seconds: 時間ではありません: %1</source>
        <translation>--seconds: not a duration: %1</translation>
    </message>
    <message>
        <source>「%1」というオプションはありません</source>
        <translation>unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--route と --train は必須です</source>
        <translation>--route and --train are required</translation>
    </message>
    <message>
        <source>スクリプト %1 を開けません</source>
        <translation>cannot open script %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>velimoro-drive: %1（%2）、車両 %3、開始 %4</source>
        <translation>velimoro-drive: %1 (%2) with %3 from start %4</translation>
    </message>
    <message>
        <source>  模擬時間 %1 秒: 高速ステップ %2 回、ティック %3 回、イベント %4 件</source>
        <translation>  simulated %1 s: %2 fast steps, %3 ticks, %4 events</translation>
    </message>
    <message>
        <source>  時刻 %1、フレーム %2 → %3、位置 %4 → %5、速度 %6 km/h</source>
        <translation>  clock %1, frame %2 -&gt; %3, position %4 -&gt; %5, speed %6 km/h</translation>
    </message>
    <message>
        <source>  力行ノッチ %1、ブレーキノッチ %2、次の駅 %3</source>
        <translation>  power notch %1, brake notch %2, next station %3</translation>
    </message>
    <message>
        <source>  スロット %1: %2 %3</source>
        <translation>  slot %1: %2 %3</translation>
    </message>
    <message>
        <source>  運転成績 %1: 得点 %2</source>
        <translation>  run report %1: score %2</translation>
    </message>
</context>
<context>
    <name>NamedFiles</name>
    <message>
        <source>長さなし</source>
        <translation>no length</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>「%1」は「%2」として見つかります。大文字と小文字が違うため、区別しない検索でしか見つかりません</source>
        <translation>&quot;%1&quot; is found as &quot;%2&quot;: the letter case differs, which only a search without regard to case finds</translation>
    </message>
    <message>
        <source>画像「%1」がありません。これがないと運転を始められません</source>
        <translation>picture &quot;%1&quot; is missing; the drive does not start without it</translation>
    </message>
    <message>
        <source>画像「%1」がありません。運転台には表示されません</source>
        <translation>picture &quot;%1&quot; is missing; the cab does not show it</translation>
    </message>
    <message>
        <source>音声「%1」がありません。これがないと運転を始められません</source>
        <translation>sound &quot;%1&quot; is missing; the drive does not start without it</translation>
    </message>
    <message>
        <source>音声「%1」がありません。その音は鳴りません</source>
        <translation>sound &quot;%1&quot; is missing; it stays silent</translation>
    </message>
    <message>
        <source>「%1」のヘッダーでは音のデータが%2バイト（%3）ですが、実際のデータは%4バイト（%5）です</source>
        <translation>the header of &quot;%1&quot; gives %2 bytes of sound (%3), its data hold %4 (%5)</translation>
    </message>
</context>
<context>
    <name>RouteCheck</name>
    <message>
        <source>開始位置</source>
        <translation>the start position</translation>
    </message>
    <message>
        <source>%1駅</source>
        <translation>station %1</translation>
    </message>
    <message>
        <source>信号%1</source>
        <translation>signal %1</translation>
    </message>
    <message>
        <source>速度制限%1</source>
        <translation>speed restriction %1</translation>
    </message>
    <message>
        <source>路線の終端</source>
        <translation>the route&apos;s end</translation>
    </message>
    <message>
        <source>区間がフレーム%1で終わり、始まりのフレーム%2より前です</source>
        <translation>the segment ends at frame %1, before it starts at frame %2</translation>
    </message>
    <message>
        <source>区間がフレーム%1から始まり、前の区間はフレーム%2で終わります。その間の距離は数えられません（すき間）</source>
        <translation>the segment starts at frame %1, the one before ends at frame %2: the distance between them is left out (a gap)</translation>
    </message>
    <message>
        <source>区間がフレーム%1から始まり、前の区間はフレーム%2で終わります。その間のフレームは二重に数えられます（重なり）</source>
        <translation>the segment starts at frame %1, the one before ends at frame %2: the frames between count twice (an overlap)</translation>
    </message>
    <message>
        <source>[SpeedUnit]の区間がありません。路線上の距離はすべて0になります</source>
        <translation>no [SpeedUnit] segments: every distance along the route is 0</translation>
    </message>
    <message>
        <source>フレーム%2の%1はどの[SpeedUnit]の区間にも入っていません。その距離は0と数えられます</source>
        <translation>%1 at frame %2 lies in no [SpeedUnit] segment: its distance counts as 0</translation>
    </message>
    <message>
        <source>映像「%1」がありません。運転では「%2」を映します</source>
        <translation>video &quot;%1&quot; is missing; the drive shows &quot;%2&quot;</translation>
    </message>
    <message>
        <source>映像「%1」を開けません</source>
        <translation>video &quot;%1&quot; cannot be opened</translation>
    </message>
    <message>
        <source>フレーム%2の%1は、映像の%3フレームより先にあります</source>
        <translation>%1 at frame %2 lies beyond the video&apos;s %3 frames</translation>
    </message>
    <message>
        <source>場面の動画「%1」がありません。代わりに路線の映像が続きます</source>
        <translation>scene movie &quot;%1&quot; is missing; the route video goes on in its place</translation>
    </message>
    <message>
        <source>場面の動画「%1」は%2フレームしかありませんが、記録は%3フレームを再生します</source>
        <translation>scene movie &quot;%1&quot; holds %2 frames, the record plays %3</translation>
    </message>
    <message>
        <source>映像「%1」がありません。運転では「%2」と表示されます</source>
        <translation>video &quot;%1&quot; is missing; the drive shows the message &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>ScreenPass</name>
    <message>
        <source>%1映像ファイルを開けません</source>
        <translation>Cannot open the video file %1</translation>
    </message>
</context>
<context>
    <name>SupportFileCheck</name>
    <message>
        <source>[Path]の「%1」が「\」で終わっていません。映像のファイル名が区切りなしでつながります</source>
        <translation>[Path] &quot;%1&quot; does not end with &quot;\&quot;: the video names are joined to it without a separator</translation>
    </message>
    <message>
        <source>コード「%1」が%2文字を超えています。マスコンのコードは先頭の%2文字で比べるため、一致することはありません</source>
        <translation>code &quot;%1&quot; is longer than %2 characters: the master controller&apos;s codes are compared on their first %2, so it never matches</translation>
    </message>
    <message>
        <source>コードが%1個しかありません。%2行目から%3行目の位置にはコードがありません</source>
        <translation>the codes end after line %1: the positions of lines %2 to %3 have none</translation>
    </message>
</context>
<context>
    <name>ToolLanguage</name>
    <message>
        <source>--lang には ja か en を指定してください: %1</source>
        <translation>--lang takes ja or en, not &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>TrainCheck</name>
    <message>
        <source>[Power]のノッチは%1段ですが、[Notch]には%2段分しかありません。それより上のノッチでは引張力が出ません</source>
        <translation>[Power] sets the notches to %1, [Notch] describes %2: the notches beyond have no traction</translation>
    </message>
    <message>
        <source>ノッチ%1の力行モード%2がモード%3の後にあります。モードは0, 1, 2, …と1ずつ順に並べてください</source>
        <translation>notch %1 is in power mode %2 after mode %3: the modes must follow 0, 1, 2, ... in steps of one</translation>
    </message>
    <message>
        <source>ノッチ%1の力行モード%2は[PowerMode]にありません</source>
        <translation>notch %1 is in power mode %2, which [PowerMode] does not list</translation>
    </message>
    <message>
        <source>力行モード%1（%2）には、この車両のノッチ1〜%3のどれも属していません</source>
        <translation>power mode %1 (%2) has no notch among the train&apos;s notches 1 to %3</translation>
    </message>
</context>
</TS>
