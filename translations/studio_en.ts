<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>velimoro::studio::StudioWindow</name>
    <message>
        <source>Route studio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a route file or a video (File menu)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>time (s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place a record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a route file or a video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Routes and videos (*.dat *.avi *.mp4 *.mkv *.webm *.mov);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;as…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the route</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Routes (*.dat)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove the selected record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Leave the selected record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drive from here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Train</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place at this frame (Enter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply (Enter)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove (Delete)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave (Esc)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ready to place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 chosen: change its fields and apply, or remove it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place as a new one at this frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>changed %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>removed %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>placed a %1 at frame %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The route has changes that are not saved. Save them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, frame %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data checker finds nothing to report.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(no train data file beside the route)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the route into its installation first: the drive reads its files there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no train data file beside the route to drive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The cab program velimoro is not installed beside the studio.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no temporary folder for the drive&apos;s copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The cab program %1 does not start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>driving %1 with %2 from frame %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frame %1 of %2 · %3 s · %4 m%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · not saved</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
