<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AidOverlay</name>
    <message>
        <source>%1 手前 (±%2)</source>
        <translation>%1 short (±%2)</translation>
    </message>
    <message>
        <source>%1 手前 (±%2 外)</source>
        <translation>%1 short (outside ±%2)</translation>
    </message>
    <message>
        <source>%1 行き過ぎ (±%2)</source>
        <translation>%1 overrun (±%2)</translation>
    </message>
    <message>
        <source>%1 行き過ぎ (±%2 外)</source>
        <translation>%1 overrun (outside ±%2)</translation>
    </message>
    <message>
        <source>停止位置を %1 過ぎています</source>
        <translation>%1 past the stop mark</translation>
    </message>
    <message>
        <source>停止位置まで %1</source>
        <translation>Stop mark in %1</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>danger</translation>
    </message>
    <message>
        <source>警戒</source>
        <translation>restricting</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>caution</translation>
    </message>
    <message>
        <source>減速</source>
        <translation>preliminary caution</translation>
    </message>
    <message>
        <source>進行</source>
        <translation>clear</translation>
    </message>
    <message>
        <source>信号 %1  %2</source>
        <translation>Signal %1  %2</translation>
    </message>
    <message>
        <source>制限 %1</source>
        <translation>Limit %1</translation>
    </message>
    <message>
        <source>制限 %1  次 %2 (%3)</source>
        <translation>Limit %1  next %2 (%3)</translation>
    </message>
    <message>
        <source>最大 %1</source>
        <translation>Top notch %1</translation>
    </message>
    <message>
        <source>%1 最大 %2</source>
        <translation>%1  top notch %2</translation>
    </message>
    <message>
        <source>これ以上のノッチはありません</source>
        <translation>No higher notch</translation>
    </message>
    <message>
        <source>ノッチを切ってから切り替えます</source>
        <translation>Notch off before changing the mode</translation>
    </message>
</context>
<context>
    <name>AtsPattern</name>
    <message>
        <source>%1km/h 制限まで%2m</source>
        <translation>%2 m to the %1 km/h limit</translation>
    </message>
    <message>
        <source>停車パターン発生中</source>
        <translation>Station stop braking curve active</translation>
    </message>
    <message>
        <source>%1km/h 照査まで%2m</source>
        <translation>%2 m to the %1 km/h check</translation>
    </message>
</context>
<context>
    <name>Callouts</name>
    <message>
        <source>喚呼の再生エラー</source>
        <translation>The call-out could not be played</translation>
    </message>
</context>
<context>
    <name>ControllerMap</name>
    <message>
        <source>27行目から先は使われません</source>
        <translation>Lines after the 26th are not used</translation>
    </message>
</context>
<context>
    <name>DataFiles</name>
    <message>
        <source>%1が見つかりません</source>
        <translation>%1 was not found</translation>
    </message>
    <message>
        <source>%1に誤りがあります</source>
        <translation>Error in %1</translation>
    </message>
</context>
<context>
    <name>Doors</name>
    <message>
        <source>ドアが開いています</source>
        <translation>Doors open</translation>
    </message>
    <message>
        <source>ドアを閉めています</source>
        <translation>Doors closing</translation>
    </message>
</context>
<context>
    <name>DriverAids</name>
    <message>
        <source>EB装置: 操作がありませんでした  非常位置で R</source>
        <translation>Vigilance device: not acknowledged  Reset: R in emergency</translation>
    </message>
    <message>
        <source>EB装置</source>
        <translation>vigilance device</translation>
    </message>
    <message>
        <source>ATS: 警報を確認しませんでした  非常位置で R</source>
        <translation>ATS: warning not acknowledged  Reset: R in emergency</translation>
    </message>
    <message>
        <source>ATS警報の確認なし</source>
        <translation>ATS warning not acknowledged</translation>
    </message>
    <message>
        <source>ATS: 停止信号を越えました  非常位置で R</source>
        <translation>ATS: signal passed at danger  Reset: R in emergency</translation>
    </message>
    <message>
        <source>停止信号の冒進</source>
        <translation>signal passed at danger</translation>
    </message>
    <message>
        <source>ATS-P: パターンを超えました  非常位置で R</source>
        <translation>ATS-P: over the braking curve  Reset: R in emergency</translation>
    </message>
    <message>
        <source>ATS-Pのパターン超過</source>
        <translation>over the ATS-P braking curve</translation>
    </message>
    <message>
        <source>速度照査: 確認しませんでした  非常位置で R</source>
        <translation>Speed check: not acknowledged  Reset: R in emergency</translation>
    </message>
    <message>
        <source>速度照査の確認なし</source>
        <translation>speed check not acknowledged</translation>
    </message>
    <message>
        <source>ATC: 信号の速度を超えました  減速で解除</source>
        <translation>ATC: over the signalled speed  Released by slowing down</translation>
    </message>
    <message>
        <source>ATCの速度超過</source>
        <translation>over the ATC speed</translation>
    </message>
    <message>
        <source>後退検知: 逆走しました  非常位置で R</source>
        <translation>Rollback protection: the train ran backwards  Reset: R in emergency</translation>
    </message>
    <message>
        <source>後退検知</source>
        <translation>rollback protection</translation>
    </message>
</context>
<context>
    <name>EasyCab</name>
    <message>
        <source>減速</source>
        <translation>Brake</translation>
    </message>
    <message>
        <source>加速</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>ドア開閉</source>
        <translation>Doors</translation>
    </message>
    <message>
        <source>案内放送</source>
        <translation>Announce</translation>
    </message>
    <message>
        <source>巻戻し</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>ニュートラル</source>
        <translation>Neutral</translation>
    </message>
</context>
<context>
    <name>Guidance</name>
    <message>
        <source>進路が開通するまでお待ちください。</source>
        <translation>Please wait until the route is set.</translation>
    </message>
    <message>
        <source>ATSが投入されていないため、速度に注意してください。</source>
        <translation>Train protection (ATS) is off: watch your speed.</translation>
    </message>
    <message>
        <source>BackSpaceキーを押して方向を転換し、発車してください。</source>
        <translation>Press BackSpace to change direction, then depart.</translation>
    </message>
    <message>
        <source>5秒以内にブレーキをかけ、ATS確認ボタンを押してください</source>
        <translation>Apply the brake and acknowledge the ATS warning within 5 seconds</translation>
    </message>
    <message>
        <source>速度を55km/h以下に落としてください</source>
        <translation>Reduce speed to 55 km/h or below</translation>
    </message>
    <message>
        <source>速度を75km/h以下に落としてください</source>
        <translation>Reduce speed to 75 km/h or below</translation>
    </message>
    <message>
        <source>速度を25km/h以下に落としてください</source>
        <translation>Reduce speed to 25 km/h or below</translation>
    </message>
    <message>
        <source>5秒以内にEBリセットを行ってください</source>
        <translation>Reset the vigilance device within 5 seconds</translation>
    </message>
    <message>
        <source>速度超過によりATSが動作しました</source>
        <translation>ATS applied the brake for overspeed</translation>
    </message>
    <message>
        <source>非常ブレーキを入れ、リセットキーを押してください</source>
        <translation>Move the brake handle to emergency and press the reset key</translation>
    </message>
    <message>
        <source>エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。</source>
        <translation>The engine has stalled. Put the gear lever in a gear and restart the engine.</translation>
    </message>
    <message>
        <source>（停車駅接近）</source>
        <translation>(Approaching a stop)</translation>
    </message>
    <message>
        <source>%1（停車駅接近）</source>
        <translation>%1 (approaching a stop)</translation>
    </message>
</context>
<context>
    <name>HandleTexts</name>
    <message>
        <source>定速</source>
        <translation>Const</translation>
    </message>
    <message>
        <source>中立</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>変速</source>
        <translation>Converter</translation>
    </message>
    <message>
        <source>直結1</source>
        <translation>Direct 1</translation>
    </message>
    <message>
        <source>直結2</source>
        <translation>Direct 2</translation>
    </message>
    <message>
        <source>直結3</source>
        <translation>Direct 3</translation>
    </message>
    <message>
        <source>直結4</source>
        <translation>Direct 4</translation>
    </message>
</context>
<context>
    <name>HelpText</name>
    <message>
        <source>ヘルプの文はここまでが表示されます</source>
        <translation>The help text is shown up to here</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <translation>The file is empty</translation>
    </message>
</context>
<context>
    <name>Motion</name>
    <message>
        <source>空転</source>
        <translation>Wheel slip</translation>
    </message>
    <message>
        <source>滑走</source>
        <translation>Wheel slide</translation>
    </message>
</context>
<context>
    <name>Panel</name>
    <message>
        <source>%1の生成エラー</source>
        <translation>Cannot create %1</translation>
    </message>
</context>
<context>
    <name>RouteReader</name>
    <message>
        <source>路線ファイルに誤りがあります。%1:%2</source>
        <translation>Error in the route file. %1:%2</translation>
    </message>
    <message>
        <source>路線ファイルに誤りがあります。:%1</source>
        <translation>Error in the route file: %1</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>(読み取れない行)</source>
        <translation>(unreadable line)</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: 停止位置のずれ</source>
        <translation>%1: stop position</translation>
    </message>
    <message>
        <source>%1: 停止位置を直すための停車</source>
        <translation>%1: extra stops</translation>
    </message>
    <message>
        <source>%1: 停止範囲を越えて停車</source>
        <translation>%1: came to rest beyond the stopping window</translation>
    </message>
    <message>
        <source>%1: 停車駅の通過</source>
        <translation>%1: stop passed</translation>
    </message>
    <message>
        <source>%1: 早発</source>
        <translation>%1: early</translation>
    </message>
    <message>
        <source>%1: 遅れ</source>
        <translation>%1: late</translation>
    </message>
    <message>
        <source>%1 km/h 制限の超過</source>
        <translation>%1 km/h limit exceeded</translation>
    </message>
    <message>
        <source>運転開始</source>
        <translation>start</translation>
    </message>
    <message>
        <source>停車</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>行き過ぎ</source>
        <translation>overran</translation>
    </message>
    <message>
        <source>停車せずに通過</source>
        <translation>passed without stopping</translation>
    </message>
    <message>
        <source>通過駅</source>
        <translation>passing station</translation>
    </message>
    <message>
        <source>未到達</source>
        <translation>not reached</translation>
    </message>
    <message>
        <source>ATS警報</source>
        <translation>ATS warning</translation>
    </message>
    <message>
        <source>パターンブレーキ</source>
        <translation>protection brake</translation>
    </message>
    <message>
        <source>ATSの非常ブレーキ</source>
        <translation>ATS emergency brake</translation>
    </message>
    <message>
        <source>運転士の非常ブレーキ</source>
        <translation>emergency brake by the driver</translation>
    </message>
    <message>
        <source>停止位置ちょうど</source>
        <translation>on the mark</translation>
    </message>
    <message>
        <source>%1 cm 手前</source>
        <translation>%1 cm short</translation>
    </message>
    <message>
        <source>%1 cm 行き過ぎ</source>
        <translation>%1 cm overrun</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>en</translation>
    </message>
    <message>
        <source>運転成績: %1</source>
        <translation>Run report: %1</translation>
    </message>
    <message>
        <source>%1、%2 ～ %3: %4 km、所要時間 %5 (うち走行 %6)、最高速度 %7 km/h。</source>
        <translation>%1, %2 to %3: %4 km in %5 (running %6), top speed %7 km/h.</translation>
    </message>
    <message>
        <source>運転は終点に着く前に終わりました。</source>
        <translation> The run was stopped before it reached its end.</translation>
    </message>
    <message>
        <source>得点 %1</source>
        <translation>Score %1</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>speed</translation>
    </message>
    <message>
        <source>ブレーキ使用</source>
        <translation>brake applied</translation>
    </message>
    <message>
        <source>速度制限</source>
        <translation>speed limit</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>signal</translation>
    </message>
    <message>
        <source>ATSのブレーキと非常ブレーキ</source>
        <translation>Protection and emergency brakes</translation>
    </message>
    <message>
        <source>駅</source>
        <translation>station</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>outcome</translation>
    </message>
    <message>
        <source>到着</source>
        <translation>arrival</translation>
    </message>
    <message>
        <source>発車</source>
        <translation>departure</translation>
    </message>
    <message>
        <source>定刻</source>
        <translation>timetable</translation>
    </message>
    <message>
        <source>ダイヤとの差</source>
        <translation>off timetable</translation>
    </message>
    <message>
        <source>停車時間</source>
        <translation>dwell</translation>
    </message>
    <message>
        <source>停止位置</source>
        <translation>stop position</translation>
    </message>
    <message>
        <source>制限</source>
        <translation>limit</translation>
    </message>
    <message>
        <source>区間</source>
        <translation>section</translation>
    </message>
    <message>
        <source>最高速度</source>
        <translation>highest speed</translation>
    </message>
    <message>
        <source>地点</source>
        <translation>where</translation>
    </message>
    <message>
        <source>超過</source>
        <translation>over</translation>
    </message>
    <message>
        <source>速度制限区間は走りませんでした。</source>
        <translation>The train ran in no limit section.</translation>
    </message>
    <message>
        <source>ありませんでした。</source>
        <translation>None.</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>what</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>time</translation>
    </message>
    <message>
        <source>採点</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>減点</source>
        <translation>deduction</translation>
    </message>
    <message>
        <source>点数</source>
        <translation>points</translation>
    </message>
    <message>
        <source>得点</source>
        <translation>score</translation>
    </message>
    <message>
        <source>100点から減点します。停車駅ごとに、停止位置とのずれ50 cmごとに1点 (最大10点)、停止位置を直すための停車1回ごとに1点、停止範囲を越えて停まると15点、停車駅の通過は20点。駅ごとに、発車時刻 (通過駅では通過時刻、発車時刻を過ぎて着いたときは到着時刻) がダイヤから10秒ずれるごとに1点 (最大10点)。速度制限区間ごとに、制限を超えた速度1 km/hごとに1点 (端数は切り上げ、最大20点)。ATS警報、パターンブレーキ、走行中に運転士がかけた非常ブレーキは1回5点、ATSの非常ブレーキは1回10点。0点より下にはなりません。到達しなかった駅は採点しません。</source>
        <translation>100 points less: per stop, 1 point for each whole 50 cm between the train and the stop mark (at most 10), 1 for each extra stop to set the train right, 15 for coming to rest beyond the stopping window and 20 for passing a stop. Per station, 1 point for each whole 10 s the departure (at a passing station the passing time, after an arrival past the departure time the arrival) is off the timetable (at most 10). Per speed-limit section, 1 point for each started km/h above the limit (at most 20). 5 for each ATS warning, protection brake or emergency brake by the driver while running, 10 for each ATS emergency brake. Never below 0. Stations the run did not reach are not scored.</translation>
    </message>
    <message>
        <source>ATS・非常ブレーキ</source>
        <translation>protection or emergency brake</translation>
    </message>
    <message>
        <source>駅ごとの結果</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>速度制限区間</source>
        <translation>Speed limits</translation>
    </message>
</context>
<context>
    <name>SaveSlots</name>
    <message>
        <source>駅 %1 はこの路線にありません</source>
        <translation>the station %1 is not one of the route&apos;s</translation>
    </message>
    <message>
        <source>速度 %1 km/h は列車の最高速度を超えています</source>
        <translation>the speed %1 km/h is beyond the train&apos;s top speed</translation>
    </message>
    <message>
        <source>フレーム %1 は路線のフレーム 0 ～ %2 の外にあります</source>
        <translation>the frame %1 lies outside the route&apos;s frames 0 to %2</translation>
    </message>
    <message>
        <source>時刻 %1 がダイヤから1日以上離れています</source>
        <translation>the clock %1 is more than a day off the timetable</translation>
    </message>
    <message>
        <source>位置 %1 cm がフレーム %2 の位置と合いません</source>
        <translation>the position %1 cm is not that of the frame %2</translation>
    </message>
    <message>
        <source>駅 %1 が位置より先にあります</source>
        <translation>the station %1 lies beyond the position</translation>
    </message>
    <message>
        <source>先行列車のフレーム %1 が負の値です</source>
        <translation>the preceding train&apos;s frame %1 is negative</translation>
    </message>
    <message>
        <source>路線名のあとに数が7つありません: 「%1」</source>
        <translation>not seven numbers after the route: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>運転状態を保存しました</source>
        <translation>The drive has been saved</translation>
    </message>
    <message>
        <source>運転状態が保存されていません</source>
        <translation>No drive is saved in this slot</translation>
    </message>
    <message>
        <source>運転状態を保存したダイヤではありません</source>
        <translation>This drive was saved on another timetable</translation>
    </message>
    <message>
        <source>保存された運転状態が壊れています</source>
        <translation>The saved drive is damaged</translation>
    </message>
    <message>
        <source>運転状態を保存できませんでした: 設定の保存先がありません</source>
        <translation>The drive could not be saved: there is no settings store</translation>
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
    <name>Script</name>
    <message>
        <source>不明なコマンド「%1」</source>
        <translation>unknown command &quot;%1&quot;</translation>
    </message>
    <message>
        <source>「%1」の引数の数が違います</source>
        <translation>wrong number of arguments for &quot;%1&quot;</translation>
    </message>
    <message>
        <source>key には1文字を指定します(「%1」ではなく)</source>
        <translation>key takes one character, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>不明な仮想キー「%1」</source>
        <translation>unknown virtual key &quot;%1&quot;</translation>
    </message>
    <message>
        <source>キーのあとには「shift」を指定します(「%1」ではなく)</source>
        <translation>expected &quot;shift&quot; after the key, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>wheel には up か down を指定します(「%1」ではなく)</source>
        <translation>wheel turns up or down, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>setting には kanko、information、ats、aids のどれかと 0 か 1 を指定します(「%1 %2」ではなく)</source>
        <translation>setting takes kanko, information, ats or aids and 0 or 1, not &quot;%1 %2&quot;</translation>
    </message>
    <message>
        <source>ats には on か off を指定します(「%1」ではなく)</source>
        <translation>ats is on or off, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>engine には start、run、stop のどれかを指定します(「%1」ではなく)</source>
        <translation>engine takes start, run or stop, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>サウンドチャンネル「%1」はありません</source>
        <translation>no sound channel &quot;%1&quot;</translation>
    </message>
    <message>
        <source>crewchange には駅の番号か -1 を指定します(「%1」ではなく)</source>
        <translation>crewchange takes a station number or -1, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 には 1 ～ 3 のスロットを指定します(「%2」ではなく)</source>
        <translation>%1 takes a slot from 1 to 3, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>jump には駅の番号を指定します(「%1」ではなく)</source>
        <translation>jump takes a station index, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>serial には受信したバイトを %XX の形で指定します(「%1」ではなく)</source>
        <translation>serial takes the received bytes with %XX escapes, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>joystick には -32768 ～ 32767 の X と Y、16進数のボタンを指定します(「%1 %2 %3」ではなく)</source>
        <translation>joystick takes X and Y from -32768 to 32767 and the buttons in hexadecimal, not &quot;%1 %2 %3&quot;</translation>
    </message>
    <message>
        <source>padcodes には16個の整数 (P0..P5, B0..B8, EB) を指定します</source>
        <translation>padcodes takes 16 whole numbers (P0..P5, B0..B8, EB)</translation>
    </message>
    <message>
        <source>controller には 0、1、2 のどれかを指定します(「%1」ではなく)</source>
        <translation>controller takes 0, 1 or 2, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>「%1」を「%2」にはできません</source>
        <translation>cannot set &quot;%1&quot; to &quot;%2&quot;</translation>
    </message>
    <message>
        <source>秒数の時刻がありません(「%1」があります)</source>
        <translation>expected a time in seconds, found &quot;%1&quot;</translation>
    </message>
    <message>
        <source>時刻のあとにコマンドがありません</source>
        <translation>expected a command after the time</translation>
    </message>
    <message>
        <source>時刻が前の行より戻って %1 秒になっています</source>
        <translation>the time goes back to %1 s from the line before</translation>
    </message>
    <message>
        <source>路線に駅 %1 がありません</source>
        <translation>the route has no station %1</translation>
    </message>
</context>
<context>
    <name>SerialPort</name>
    <message>
        <source>シリアルポートがありません</source>
        <translation>no serial port</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>初期状態では、ATSが動作しない設定になっています。<byte value="xd"/>
<byte value="xd"/>
実車通りにするには、設定メニューの「入門モード」のチェックを外してください。<byte value="xd"/>
OFFにするとATS確認操作が必要になります。</source>
        <translation>By default, train protection (ATS) is switched off.<byte value="xd"/>
<byte value="xd"/>
To drive as on a real train, untick &quot;Beginner mode&quot; in the Settings menu.<byte value="xd"/>
With it off, you must acknowledge the ATS warnings.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>設定を保存できませんでした: %1</source>
        <translation>The settings could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>SoundFiles</name>
    <message>
        <source>ファイル「%1」を読み込めません。チャンク「%2」がファイルの終わりを越えています。</source>
        <translation>Cannot load file &quot;%1&quot;. Its chunk &quot;%2&quot; runs past the end of the file.</translation>
    </message>
    <message>
        <source>ファイル「%1」を開けません。%2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。チャンネルが %2 あります。音は1チャンネルか2チャンネルです。</source>
        <translation>Cannot load file &quot;%1&quot;. It has %2 channels; a sound has one or two.</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。サンプリング周波数がありません。</source>
        <translation>Cannot load file &quot;%1&quot;. It has no sampling rate.</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。音としては長すぎます。</source>
        <translation>Cannot load file &quot;%1&quot;. It is too long for a sound.</translation>
    </message>
    <message>
        <source>ファイル「%1」を読めません。%2</source>
        <translation>Cannot read file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。OpenAL にこれ以上の音を置く余地がありません。</source>
        <translation>Cannot load file &quot;%1&quot;. OpenAL has no room for another sound.</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。OpenAL がそのサンプルを受け付けません。</source>
        <translation>Cannot load file &quot;%1&quot;. OpenAL does not take its samples.</translation>
    </message>
</context>
<context>
    <name>SoundLayer</name>
    <message>
        <source>音声デバイスを開けなかったため、音を出さずに運転します。</source>
        <translation>No audio device could be opened, so the drive runs without sound.</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>DirectSoundオブジェクトを作成しています(走行音)</source>
        <translation>Creating the sound objects (running sounds)</translation>
    </message>
    <message>
        <source>DirectSoundオブジェクトを作成しています(喚呼)</source>
        <translation>Creating the sound objects (call-outs)</translation>
    </message>
    <message>
        <source>サウンドを読み込んでいます</source>
        <translation>Loading the sounds</translation>
    </message>
    <message>
        <source>設定ファイルを読み込んでいます</source>
        <translation>Reading the data files</translation>
    </message>
    <message>
        <source>運転台を描画しています</source>
        <translation>Drawing the cab</translation>
    </message>
    <message>
        <source>DirectSoundオブジェクトを作成しています(環境音)</source>
        <translation>Creating the sound objects (route sounds)</translation>
    </message>
    <message>
        <source>環境をセットアップしています</source>
        <translation>Setting up the route</translation>
    </message>
</context>
<context>
    <name>Stations</name>
    <message>
        <source>%1両</source>
        <translation>%1 cars</translation>
    </message>
    <message>
        <source>乗降完了</source>
        <translation>Boarding complete</translation>
    </message>
    <message>
        <source>停止位置まで進行</source>
        <translation>Draw up to the stop mark</translation>
    </message>
</context>
<context>
    <name>Title</name>
    <message>
        <source>実行ファイルが正しい場所に配置されていません</source>
        <translation>The program is not installed in the right place</translation>
    </message>
    <message>
        <source>オープニングムービーを開けません</source>
        <translation>Cannot open the opening movie</translation>
    </message>
    <message>
        <source>Formを作成しています</source>
        <translation>Opening the cab</translation>
    </message>
    <message>
        <source>この路線を任意の列車で運転することができます</source>
        <translation>You can drive this route with any train</translation>
    </message>
    <message>
        <source>列車データファイル (*.dat)</source>
        <translation>Train data files (*.dat)</translation>
    </message>
</context>
<context>
    <name>TrafficSignals</name>
    <message>
        <source>トロコン反応</source>
        <translation>Train detector triggered</translation>
    </message>
    <message>
        <source>一旦停止 %1m</source>
        <translation>Stop sign %1 m</translation>
    </message>
    <message>
        <source>信号停止 %1m</source>
        <translation>Stop at the road signal %1 m</translation>
    </message>
</context>
<context>
    <name>TrainReader</name>
    <message>
        <source>- 列車の基本設定</source>
        <translation>basic train settings</translation>
    </message>
    <message>
        <source>車両ファイルに誤りがあります%1</source>
        <translation>Error in the train file: %1</translation>
    </message>
    <message>
        <source>動力が気動車なのにNotch指定があります</source>
        <translation>The train is a diesel multiple unit but has a [Notch] list</translation>
    </message>
    <message>
        <source>動力が電車なのにEngine指定があります</source>
        <translation>The train is an electric multiple unit but has an [Engine] list</translation>
    </message>
    <message>
        <source>- アナログ時計</source>
        <translation>analogue clock</translation>
    </message>
    <message>
        <source>- 運転台パネル</source>
        <translation>cab panel</translation>
    </message>
    <message>
        <source>- 速度計</source>
        <translation>speedometer</translation>
    </message>
    <message>
        <source>- BC圧力計</source>
        <translation>BC gauge</translation>
    </message>
    <message>
        <source>- SAP圧力計</source>
        <translation>SAP gauge</translation>
    </message>
    <message>
        <source>- ER圧力計</source>
        <translation>ER gauge</translation>
    </message>
    <message>
        <source>- BP圧力計</source>
        <translation>BP gauge</translation>
    </message>
    <message>
        <source>- MR圧力計</source>
        <translation>MR gauge</translation>
    </message>
    <message>
        <source>- 電圧計</source>
        <translation>voltmeter</translation>
    </message>
    <message>
        <source>- 電流計</source>
        <translation>ammeter</translation>
    </message>
    <message>
        <source>車両ファイルに誤りがあります:%1</source>
        <translation>Error in the train file: %1</translation>
    </message>
    <message>
        <source>ブレーキの段数を3段以上に設定してください</source>
        <translation>Give the brake at least 3 steps</translation>
    </message>
</context>
<context>
    <name>UiStrings</name>
    <message>
        <source>stringファイルに誤りがあります:%1:%2</source>
        <translation>Error in the string file: %1:%2</translation>
    </message>
    <message>
        <source>stringファイルに誤りがあります:%1</source>
        <translation>Error in the string file: %1</translation>
    </message>
    <message>
        <source>stringファイルに誤りがあります</source>
        <translation>Error in the string file</translation>
    </message>
</context>
<context>
    <name>ValueDisplay</name>
    <message>
        <source>停止中</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>運転中</source>
        <translation>driving</translation>
    </message>
    <message>
        <source>映像 %1</source>
        <translation>video %1</translation>
    </message>
</context>
<context>
    <name>VideoFiles</name>
    <message>
        <source>映像「%1」を開けません: %2</source>
        <translation>cannot open video &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>「%1」に映像のストリームがありません</source>
        <translation>no video stream in &apos;%1&apos;</translation>
    </message>
    <message>
        <source>「%2」の %1 の映像を復号するデコーダがありません</source>
        <translation>no decoder for the %1 video of &apos;%2&apos;</translation>
    </message>
    <message>
        <source>「%1」を開くためのメモリが足りません</source>
        <translation>out of memory opening &apos;%1&apos;</translation>
    </message>
    <message>
        <source>「%3」の画像の大きさ %1 x %2 は使えません</source>
        <translation>unusable picture size %1 x %2 in &apos;%3&apos;</translation>
    </message>
    <message>
        <source>映像「%1」をもう一度読めません</source>
        <translation>cannot read video &apos;%1&apos; again</translation>
    </message>
    <message>
        <source>「%1」に映像のフレームがありません</source>
        <translation>no video frames in &apos;%1&apos;</translation>
    </message>
    <message>
        <source>「%1」の映像のパラメータは使えません</source>
        <translation>unusable video parameters in &apos;%1&apos;</translation>
    </message>
    <message>
        <source>「%2」の %1 の映像を復号できません: %3</source>
        <translation>cannot decode the %1 video of &apos;%2&apos;: %3</translation>
    </message>
</context>
</TS>
