<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>velimoro-studio</name>
    <message>
        <source>使い方: velimoro-studio [FILE] [--seconds S [--screenshot F.png]] [--lang ja|en]
        velimoro-studio --rewrite IN OUT
        velimoro-studio --calibrate --video V (--gpx G | --speed-log L) --align FRAME=TIME...
                        --out FILE [--fps N] [--slopes]
路線データファイルを作り、編集します。FILE（路線データファイル。動画は dorvanel.dat から探します）
か、新しい路線の動画を開いてウィンドウを出します。
  --seconds S       S 秒後にウィンドウを閉じる（無人の実行: 何も尋ねません）
  --screenshot F    --seconds とともに、ウィンドウの絵を F.png に残す
  --lang ja|en      表示の言語（既定は保存した設定、なければシステムのロケール）
  --rewrite IN OUT  路線ファイル IN を読み、スタジオが保存するとおりに OUT へ保存する:
                    編集せずに保存したファイルはバイト単位で同じです
  --calibrate       軌跡から FILE の撮影速度表 ([SpeedUnit]) を書く。FILE の他の行は
                    そのまま残します（新しい FILE には表だけが入ります）
  --video V         路線の動画（フレームを数えるため）
  --gpx G           GPX の軌跡: 時刻付きの点。標高は任意
  --speed-log L     GPX の代わりに CSV の速度記録: 1 行に 秒,km/h
  --align FRAME=TIME  TIME に撮った動画のフレーム。TIME は ISO 形式の時刻
                    (2024-05-01T10:00:00Z) か軌跡の最初の点からの秒数。印は一つ、
                    カメラの時計が進むか遅れるときは二つ以上
  --fps N           動画の 1 秒のフレーム数（FILE の [FrameRate]、なければ 30）
  --slopes          軌跡の標高から [Slope] も書く
  -h, --help        この説明を出して終わる
  -v, --version     版を出して終わる
例:
  velimoro-studio --calibrate --video move/line1.avi --gpx ride.gpx --align 0=2024-05-01T10:00:00Z --out line1.dat
</source>
        <translation>Usage: velimoro-studio [FILE] [--seconds S [--screenshot F.png]] [--lang ja|en]
       velimoro-studio --rewrite IN OUT
       velimoro-studio --calibrate --video V (--gpx G | --speed-log L) --align FRAME=TIME...
                       --out FILE [--fps N] [--slopes]
Makes and edits route data files: opens the window on FILE, a route data file (with its
video, through dorvanel.dat) or a video for a new route.
  --seconds S       close the window after S seconds (unattended: no questions)
  --screenshot F    with --seconds, keep the window&apos;s picture in F.png
  --lang ja|en      the language of the texts (by default the one kept in the settings,
                    else the system&apos;s locale)
  --rewrite IN OUT  read the route file IN and save it as OUT, as the studio saves it:
                    a file saved without edits is the same byte for byte
  --calibrate       write the filming-speed table ([SpeedUnit]) of FILE from a track,
                    keeping the rest of FILE (a new FILE holds the table alone)
  --video V         the route video (for its frames)
  --gpx G           a GPX track: time-stamped points, elevations optional
  --speed-log L     a CSV speed log instead: lines of seconds,km/h
  --align FRAME=TIME  the video frame filmed at TIME: an ISO time (2024-05-01T10:00:00Z)
                    or seconds after the track&apos;s first point; one mark, or two or more
                    for a camera clock that runs fast or slow
  --fps N           the video&apos;s frames a second (FILE&apos;s [FrameRate], else 30)
  --slopes          also write [Slope] records from the track&apos;s elevations
  -h, --help        show this help and exit
  -v, --version     show the version and exit
Example:
  velimoro-studio --calibrate --video move/line1.avi --gpx ride.gpx --align 0=2024-05-01T10:00:00Z --out line1.dat
</translation>
    </message>
    <message>
        <source>詳しくは &apos;velimoro-studio --help&apos; を見てください。</source>
        <translation>Try &apos;velimoro-studio --help&apos;.</translation>
    </message>
    <message>
        <source>--calibrate には --video、--gpx か --speed-log、--align と --out が要ります</source>
        <translation>--calibrate needs --video, --gpx or --speed-log, --align and --out</translation>
    </message>
    <message>
        <source>--fps %1 はフレームレートではありません</source>
        <translation>--fps %1 is no frame rate</translation>
    </message>
    <message>
        <source>--align %1 は FRAME=TIME ではありません</source>
        <translation>--align %1 is no FRAME=TIME</translation>
    </message>
    <message>
        <source>軌跡に標高がないので [Slope] は書きません</source>
        <translation>the track has no elevations; no [Slope] records</translation>
    </message>
    <message>
        <source>路線ファイルが速度表を受け付けません</source>
        <translation>The route file refused the filming-speed table</translation>
    </message>
    <message>
        <source>%1: フレーム 0〜%3 に [SpeedUnit] %2 区間、%4 m、[Slope] %5 件</source>
        <translation>%1: %2 [SpeedUnit] segments over frames 0 to %3, %4 m, %5 [Slope] records</translation>
    </message>
    <message>
        <source>%1: フレーム 0〜%3 に [SpeedUnit] %2 区間、%4 m</source>
        <translation>%1: %2 [SpeedUnit] segments over frames 0 to %3, %4 m</translation>
    </message>
    <message>
        <source>ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY もありません）。--rewrite と --calibrate は画面なしで動きます</source>
        <translation>there is no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); --rewrite and --calibrate work without one</translation>
    </message>
    <message>
        <source>--seconds %1 は時間ではありません</source>
        <translation>--seconds %1 is no time</translation>
    </message>
    <message>
        <source>--screenshot には --seconds が要ります</source>
        <translation>--screenshot needs --seconds</translation>
    </message>
    <message>
        <source>%1 を開けません</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <source>%1 に書けません</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>--rewrite には読むファイルと書くファイルが要ります</source>
        <translation>--rewrite needs the file to read and the file to write</translation>
    </message>
    <message>
        <source>知らないオプションか引数です: %1</source>
        <translation>unknown option or argument: %1</translation>
    </message>
    <message>
        <source>知らないオプションか、値がありません: %1</source>
        <translation>unknown option or missing value: %1</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::Calibration</name>
    <message>
        <source>時刻の分かるフレームを一つ以上印してください</source>
        <translation>Mark at least one frame whose time you know</translation>
    </message>
    <message>
        <source>印が一つのときは動画のフレームレートが要ります</source>
        <translation>With one mark, the video&apos;s frame rate is needed</translation>
    </message>
    <message>
        <source>印は別々のフレームに、後のフレームほど後の時刻で付けてください</source>
        <translation>Put the marks on different frames, later frames at later times</translation>
    </message>
    <message>
        <source>フレーム %1〜%2: 終わりのフレームは始めより後に、距離は 0 より大きくしてください</source>
        <translation>Frames %1 to %2: the last frame must come after the first, and the distance be more than 0</translation>
    </message>
    <message>
        <source>フレーム %1〜%2: 前の組と重なっています</source>
        <translation>Frames %1 to %2 overlap the pair before</translation>
    </message>
    <message>
        <source>二つのフレームを印して、その間の距離を入れてください</source>
        <translation>Mark two frames and enter the distance between them</translation>
    </message>
    <message>
        <source>動画のフレームが少なすぎて速度表を作れません</source>
        <translation>The video has too few frames for a filming-speed table</translation>
    </message>
    <message>
        <source>組のフレームが動画の最後のフレームを越えています</source>
        <translation>The pairs&apos; frames lie beyond the video&apos;s last frame</translation>
    </message>
    <message>
        <source>GPX の軌跡を読み込んでください</source>
        <translation>Import a GPX track</translation>
    </message>
    <message>
        <source>速度記録を読み込んでください</source>
        <translation>Import a speed log</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::CalibrationDialog</name>
    <message>
        <source>距離の較正</source>
        <translation>Distance calibration</translation>
    </message>
    <message>
        <source>キロポスト</source>
        <translation>Kilometre posts</translation>
    </message>
    <message>
        <source>GPX の軌跡</source>
        <translation>GPX track</translation>
    </message>
    <message>
        <source>速度記録</source>
        <translation>Speed log</translation>
    </message>
    <message>
        <source>書き込む [SpeedUnit] の区間</source>
        <translation>The [SpeedUnit] segments to write</translation>
    </message>
    <message>
        <source>始めのフレーム</source>
        <translation>First frame</translation>
    </message>
    <message>
        <source>終わりのフレーム</source>
        <translation>Last frame</translation>
    </message>
    <message>
        <source>始めの速度 (km/h)</source>
        <translation>First speed (km/h)</translation>
    </message>
    <message>
        <source>終わりの速度 (km/h)</source>
        <translation>Last speed (km/h)</translation>
    </message>
    <message>
        <source>路線に書き込む</source>
        <translation>Write into the route</translation>
    </message>
    <message>
        <source>キロポストを過ぎる二つのフレームを再生画面で選んで印し、その間の距離を入れてください。組はいくつでも加えられます。最初の組の前と最後の組の後は、隣の組の速度で延ばします。</source>
        <translation>Find two frames where the cab passes kilometre posts in the player, mark them and enter the distance between them. Add as many pairs as you have. Before the first pair and after the last, the video runs on at the speed of the nearest pair.</translation>
    </message>
    <message>
        <source>始め</source>
        <translation>From</translation>
    </message>
    <message>
        <source>今のフレーム</source>
        <translation>Current frame</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>To</translation>
    </message>
    <message>
        <source>距離 (m)</source>
        <translation>Distance (m)</translation>
    </message>
    <message>
        <source>組を加える (Enter)</source>
        <translation>Add the pair (Enter)</translation>
    </message>
    <message>
        <source>選んだ組を外す</source>
        <translation>Remove the selected pair</translation>
    </message>
    <message>
        <source>GPX の軌跡を読み込む…</source>
        <translation>Import a GPX track…</translation>
    </message>
    <message>
        <source>GPX の軌跡を読み込む</source>
        <translation>Import a GPX track</translation>
    </message>
    <message>
        <source>GPX の軌跡 (*.gpx);;すべてのファイル (*)</source>
        <translation>GPX tracks (*.gpx);;All files (*)</translation>
    </message>
    <message>
        <source>時刻付きの点の軌跡（標高は任意）を読み込んでください。</source>
        <translation>Import a track of time-stamped points (elevations optional).</translation>
    </message>
    <message>
        <source>軌跡の標高から [Slope] も書き込む</source>
        <translation>Also write [Slope] from the track&apos;s elevations</translation>
    </message>
    <message>
        <source>速度記録を読み込む…</source>
        <translation>Import a speed log…</translation>
    </message>
    <message>
        <source>速度記録を読み込む</source>
        <translation>Import a speed log</translation>
    </message>
    <message>
        <source>速度記録 (*.csv *.txt);;すべてのファイル (*)</source>
        <translation>Speed logs (*.csv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>1 行に「秒,km/h」の CSV を読み込んでください。</source>
        <translation>Import a CSV with one &quot;seconds,km/h&quot; line per sample.</translation>
    </message>
    <message>
        <source>時計合わせ</source>
        <translation>Clock alignment</translation>
    </message>
    <message>
        <source>の時刻</source>
        <translation>filmed at</translation>
    </message>
    <message>
        <source>2024-05-01T10:00:00Z または秒</source>
        <translation>2024-05-01T10:00:00Z or seconds</translation>
    </message>
    <message>
        <source>一つ目の印</source>
        <translation>First mark</translation>
    </message>
    <message>
        <source>二つ目の印（カメラの時計の進み遅れを直す）</source>
        <translation>Second mark (corrects a camera clock that runs fast or slow)</translation>
    </message>
    <message>
        <source>二つ目の印</source>
        <translation>Second mark</translation>
    </message>
    <message>
        <source>時刻は ISO 形式の時刻か、記録の最初の点からの秒数です。</source>
        <translation>A time is an ISO time or seconds after the record&apos;s first point.</translation>
    </message>
    <message>
        <source>距離はメートルで 0 より大きい数を入れてください</source>
        <translation>Enter the distance in metres, more than 0</translation>
    </message>
    <message>
        <source>%1: %2 点、%3 秒、標高あり</source>
        <translation>%1: %2 points, %3 s, with elevations</translation>
    </message>
    <message>
        <source>%1: %2 点、%3 秒、標高なし</source>
        <translation>%1: %2 points, %3 s, no elevations</translation>
    </message>
    <message>
        <source>%1: %2 行、%3 秒</source>
        <translation>%1: %2 lines, %3 s</translation>
    </message>
    <message>
        <source>印 %1 の時刻を ISO 形式の時刻か秒数で入れてください</source>
        <translation>Enter the time of mark %1 as an ISO time or in seconds</translation>
    </message>
    <message>
        <source>%1 区間、フレーム %2〜%3、%4 m。較正の距離との差は最大 %5 %。</source>
        <translation>%1 segments over frames %2 to %3, %4 m; at most %5 % off the calibration&apos;s distances.</translation>
    </message>
    <message>
        <source>[Slope] %1 件。</source>
        <translation>%1 [Slope] records.</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::RouteEditor</name>
    <message>
        <source>フレーム</source>
        <translation>frame</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>name</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>kind</translation>
    </message>
    <message>
        <source>停止フレーム</source>
        <translation>stop frame</translation>
    </message>
    <message>
        <source>停止の許容差</source>
        <translation>stop tolerance</translation>
    </message>
    <message>
        <source>cm</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>発車音 1</source>
        <translation>departure sound 1</translation>
    </message>
    <message>
        <source>発車音 2</source>
        <translation>departure sound 2</translation>
    </message>
    <message>
        <source>値 7</source>
        <translation>value 7</translation>
    </message>
    <message>
        <source>発車時刻</source>
        <translation>departure time</translation>
    </message>
    <message>
        <source>1/30 秒</source>
        <translation>1/30 s</translation>
    </message>
    <message>
        <source>値 9</source>
        <translation>value 9</translation>
    </message>
    <message>
        <source>値 10</source>
        <translation>value 10</translation>
    </message>
    <message>
        <source>値 11</source>
        <translation>value 11</translation>
    </message>
    <message>
        <source>値 12</source>
        <translation>value 12</translation>
    </message>
    <message>
        <source>値 13</source>
        <translation>value 13</translation>
    </message>
    <message>
        <source>値 14</source>
        <translation>value 14</translation>
    </message>
    <message>
        <source>状態の方式</source>
        <translation>state mode</translation>
    </message>
    <message>
        <source>記憶した状態</source>
        <translation>stored state</translation>
    </message>
    <message>
        <source>方式の値</source>
        <translation>mode parameter</translation>
    </message>
    <message>
        <source>灯器の種類</source>
        <translation>lamp type</translation>
    </message>
    <message>
        <source>見え始め</source>
        <translation>in view from</translation>
    </message>
    <message>
        <source>見え終わり</source>
        <translation>in view to</translation>
    </message>
    <message>
        <source>警報地上子</source>
        <translation>warning beacon</translation>
    </message>
    <message>
        <source>信号機</source>
        <translation>signal</translation>
    </message>
    <message>
        <source>番号札</source>
        <translation>number plate</translation>
    </message>
    <message>
        <source>左の表示器</source>
        <translation>left indicator</translation>
    </message>
    <message>
        <source>右の表示器</source>
        <translation>right indicator</translation>
    </message>
    <message>
        <source>車内信号の速度符号</source>
        <translation>cab signalling speed code</translation>
    </message>
    <message>
        <source>制限速度</source>
        <translation>speed limit</translation>
    </message>
    <message>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>画像</source>
        <translation>picture</translation>
    </message>
    <message>
        <source>値 C</source>
        <translation>value C</translation>
    </message>
    <message>
        <source>最初のフレーム</source>
        <translation>first frame</translation>
    </message>
    <message>
        <source>最後のフレーム</source>
        <translation>last frame</translation>
    </message>
    <message>
        <source>勾配</source>
        <translation>gradient</translation>
    </message>
    <message>
        <source>‰</source>
        <translation>per mille</translation>
    </message>
    <message>
        <source>始め</source>
        <translation>From</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>To</translation>
    </message>
    <message>
        <source>入口</source>
        <translation>entry</translation>
    </message>
    <message>
        <source>出口</source>
        <translation>exit</translation>
    </message>
    <message>
        <source>暗さ</source>
        <translation>darkness</translation>
    </message>
    <message>
        <source>音</source>
        <translation>sound</translation>
    </message>
    <message>
        <source>鳴り始め</source>
        <translation>start</translation>
    </message>
    <message>
        <source>鳴り終わり</source>
        <translation>stop</translation>
    </message>
    <message>
        <source>基準の速度</source>
        <translation>reference speed</translation>
    </message>
    <message>
        <source>繰り返し</source>
        <translation>loop</translation>
    </message>
    <message>
        <source>音程が速度に従う</source>
        <translation>pitch follows speed</translation>
    </message>
    <message>
        <source>音量が速度に従う</source>
        <translation>volume follows speed</translation>
    </message>
    <message>
        <source>標識の喚呼</source>
        <translation>board call-out</translation>
    </message>
    <message>
        <source>値 A</source>
        <translation>value A</translation>
    </message>
    <message>
        <source>声</source>
        <translation>voice</translation>
    </message>
    <message>
        <source>値 E</source>
        <translation>value E</translation>
    </message>
    <message>
        <source>動画</source>
        <translation>movie</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>length</translation>
    </message>
    <message>
        <source>戻るフレーム</source>
        <translation>resume frame</translation>
    </message>
    <message>
        <source>駅</source>
        <translation>station</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>signal</translation>
    </message>
    <message>
        <source>速度制限</source>
        <translation>speed restriction</translation>
    </message>
    <message>
        <source>トンネル</source>
        <translation>tunnel</translation>
    </message>
    <message>
        <source>標識</source>
        <translation>board</translation>
    </message>
    <message>
        <source>踏切</source>
        <translation>level crossing</translation>
    </message>
    <message>
        <source>情景動画</source>
        <translation>scene movie</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: 欄は %2 個で、%3 個ではありません</source>
        <translation>%1: %2 fields, not %3</translation>
    </message>
    <message>
        <source>%1: コンマと改行は使えません</source>
        <translation>%1: no comma or line break</translation>
    </message>
    <message>
        <source>%1: 「#」で始めることはできません</source>
        <translation>%1: may not start with &quot;#&quot;</translation>
    </message>
    <message>
        <source>%1: Shift-JIS にない文字があります</source>
        <translation>%1: a character that Shift-JIS lacks</translation>
    </message>
    <message>
        <source>%1: %2 … %3 の小数を入れてください</source>
        <translation>%1: a decimal of %2 … %3</translation>
    </message>
    <message>
        <source>%1: %2 … %3 の整数を入れてください</source>
        <translation>%1: a whole number of %2 … %3</translation>
    </message>
    <message>
        <source>%1: 路線ファイルにこれ以上入りません</source>
        <translation>%1: the route file cannot hold more</translation>
    </message>
    <message>
        <source>%1 %2 はありません</source>
        <translation>%1 %2 is not there</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::RouteFiles</name>
    <message>
        <source>%1 はフォルダーで、路線ファイルではありません</source>
        <translation>%1 is a folder, not a route file</translation>
    </message>
    <message>
        <source>%1 を読めません: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 は %2 MB を超えています。これほど大きな路線ファイルはありません</source>
        <translation>%1 is larger than %2 MB: no route file is this large</translation>
    </message>
    <message>
        <source>%1 を読めません</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>%1 に書けません</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>%1 に書けません: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 は大きすぎます</source>
        <translation>%1 is too large</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::StudioWindow</name>
    <message>
        <source>路線スタジオ</source>
        <translation>Route studio</translation>
    </message>
    <message>
        <source>路線ファイルか動画を開いてください（ファイル メニュー）</source>
        <translation>Open a route file or a video (File menu)</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>frame</translation>
    </message>
    <message>
        <source>時刻 (秒)</source>
        <translation>time (s)</translation>
    </message>
    <message>
        <source>記録の配置</source>
        <translation>Place a record</translation>
    </message>
    <message>
        <source>データ検査</source>
        <translation>Data check</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>路線ファイルか動画を開く</source>
        <translation>Open a route file or a video</translation>
    </message>
    <message>
        <source>路線と動画 (*.dat *.avi *.mp4 *.mkv *.webm *.mov);;すべてのファイル (*)</source>
        <translation>Routes and videos (*.dat *.avi *.mp4 *.mkv *.webm *.mov);;All files (*)</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)…</source>
        <translation>Save &amp;as…</translation>
    </message>
    <message>
        <source>路線を保存</source>
        <translation>Save the route</translation>
    </message>
    <message>
        <source>路線 (*.dat)</source>
        <translation>Routes (*.dat)</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直す(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>選んだ記録を削除(&amp;R)</source>
        <translation>&amp;Remove the selected record</translation>
    </message>
    <message>
        <source>選んだ記録を離す(&amp;L)</source>
        <translation>&amp;Leave the selected record</translation>
    </message>
    <message>
        <source>距離の較正(&amp;K)…</source>
        <translation>Distance &amp;calibration…</translation>
    </message>
    <message>
        <source>運転(&amp;D)</source>
        <translation>&amp;Drive</translation>
    </message>
    <message>
        <source>ここから運転(&amp;D)</source>
        <translation>&amp;Drive from here</translation>
    </message>
    <message>
        <source>車両(&amp;T)</source>
        <translation>&amp;Train</translation>
    </message>
    <message>
        <source>配置(&amp;P)</source>
        <translation>&amp;Place</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>record</translation>
    </message>
    <message>
        <source>このフレームに配置 (Enter)</source>
        <translation>Place at this frame (Enter)</translation>
    </message>
    <message>
        <source>適用 (Enter)</source>
        <translation>Apply (Enter)</translation>
    </message>
    <message>
        <source>削除 (Delete)</source>
        <translation>Remove (Delete)</translation>
    </message>
    <message>
        <source>離す (Esc)</source>
        <translation>Leave (Esc)</translation>
    </message>
    <message>
        <source>配置できます</source>
        <translation>ready to place</translation>
    </message>
    <message>
        <source>%1 %2 を選びました。欄を変えて適用するか、削除してください</source>
        <translation>%1 %2 chosen: change its fields and apply, or remove it</translation>
    </message>
    <message>
        <source>このフレームに新しく配置</source>
        <translation>Place as a new one at this frame</translation>
    </message>
    <message>
        <source>%1 %2 を変更しました</source>
        <translation>changed %1 %2</translation>
    </message>
    <message>
        <source>%1 %2 を削除しました</source>
        <translation>removed %1 %2</translation>
    </message>
    <message>
        <source>フレーム %2 に%1を配置しました</source>
        <translation>placed a %1 at frame %2</translation>
    </message>
    <message>
        <source>路線スタジオ - %1</source>
        <translation>Route studio - %1</translation>
    </message>
    <message>
        <source>%1 を保存しました</source>
        <translation>saved %1</translation>
    </message>
    <message>
        <source>路線に保存していない変更があります。保存しますか？</source>
        <translation>The route has changes that are not saved. Save them?</translation>
    </message>
    <message>
        <source>警告 · ファイル: %1</source>
        <translation>warning · the file: %1</translation>
    </message>
    <message>
        <source>エラー · ファイル: %1</source>
        <translation>error · the file: %1</translation>
    </message>
    <message>
        <source>警告 · %2 行目: %1</source>
        <translation>warning · line %2: %1</translation>
    </message>
    <message>
        <source>エラー · %2 行目: %1</source>
        <translation>error · line %2: %1</translation>
    </message>
    <message>
        <source>警告 · %2 行目、フレーム %3: %1</source>
        <translation>warning · line %2, frame %3: %1</translation>
    </message>
    <message>
        <source>エラー · %2 行目、フレーム %3: %1</source>
        <translation>error · line %2, frame %3: %1</translation>
    </message>
    <message>
        <source>データ検査で指摘することはありません。</source>
        <translation>The data checker finds nothing to report.</translation>
    </message>
    <message>
        <source>（路線の隣に車両データファイルがありません）</source>
        <translation>(no train data file beside the route)</translation>
    </message>
    <message>
        <source>路線ファイルが速度表を受け付けません</source>
        <translation>The route file refused the filming-speed table</translation>
    </message>
    <message>
        <source>[SpeedUnit] %1 区間と [Slope] %2 件を書き込みました</source>
        <translation>wrote %1 [SpeedUnit] segments and %2 [Slope] records</translation>
    </message>
    <message>
        <source>[SpeedUnit] %1 区間を書き込みました</source>
        <translation>wrote %1 [SpeedUnit] segments</translation>
    </message>
    <message>
        <source>先に路線をそのインストール先へ保存してください。運転はそこのファイルを読みます。</source>
        <translation>Save the route into its installation first: the drive reads its files there.</translation>
    </message>
    <message>
        <source>路線の隣に運転する車両データファイルがありません。</source>
        <translation>There is no train data file beside the route to drive.</translation>
    </message>
    <message>
        <source>運転台のプログラム velimoro がスタジオの隣にインストールされていません。</source>
        <translation>The cab program velimoro is not installed beside the studio.</translation>
    </message>
    <message>
        <source>運転用の写しを置く一時フォルダーがありません。</source>
        <translation>There is no temporary folder for the drive&apos;s copy.</translation>
    </message>
    <message>
        <source>運転台のプログラム %1 が起動しません。</source>
        <translation>The cab program %1 does not start.</translation>
    </message>
    <message>
        <source>%1 を %2 でフレーム %3 から運転しています</source>
        <translation>driving %1 with %2 from frame %3</translation>
    </message>
    <message>
        <source>フレーム %1 / %2 · %3 秒 · %4 m · 未保存</source>
        <translation>frame %1 of %2 · %3 s · %4 m · not saved</translation>
    </message>
    <message>
        <source>フレーム %1 / %2 · %3 秒 · %4 m</source>
        <translation>frame %1 of %2 · %3 s · %4 m</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>Displa&amp;y</translation>
    </message>
    <message>
        <source>言語は次にスタジオを開いたときから変わります</source>
        <translation>The language changes the next time the studio starts</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::TimelineView</name>
    <message>
        <source>速度 %1 km/h まで</source>
        <translation>speed, up to %1 km/h</translation>
    </message>
    <message>
        <source>[SpeedUnit] の表がなく、距離がありません</source>
        <translation>no [SpeedUnit] table: no distances</translation>
    </message>
</context>
<context>
    <name>velimoro::studio::Track</name>
    <message>
        <source>軌跡に場所と時刻のある点が二つありません</source>
        <translation>the track has fewer than two points with a place and a time</translation>
    </message>
    <message>
        <source>%1 行目が「秒,km/h」ではありません</source>
        <translation>line %1 is no &quot;seconds,km/h&quot;</translation>
    </message>
    <message>
        <source>速度記録に記録が二つありません</source>
        <translation>the speed log has fewer than two samples</translation>
    </message>
</context>
</TS>
