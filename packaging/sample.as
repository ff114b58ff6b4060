; sample.as: a small script for Lumbra.hpi @PROJECT_VERSION@. Put it in one folder with
; lumbra.as and Lumbra.hpi and run it. It writes sample.rtf into the current folder.
; sample.as: Lumbra.hpi @PROJECT_VERSION@ のサンプルです。lumbra.as、Lumbra.hpi と同じ
; フォルダに置いて実行してください。カレントフォルダに sample.rtf を書き出します。

#include "lumbra.as"

	; The first object of a window is number 0: this box becomes the control.
	; ウィンドウの最初のオブジェクトは 0 番です。このボックスがコントロールになります。
	sdim box, 64
	pos 8, 8
	mesbox box, 464, 200, 1
	CreateREdit 0
	if stat = -1 : mes "オブジェクト 0 がありません" : stop
	if stat = -3 : mes "リッチエディットを作れません (RICHED32.DLL)" : stop
	if stat = -255 : mes "コントロールはすでにあります" : stop
	; SetREditMode, REditClear, SetBackColor and SetREditIMECol refuse only with -1, when
	; there is no control: CreateREdit has just made one.
	; SetREditMode、REditClear、SetBackColor、SetREditIMECol が断るのはコントロールが
	; 無いときの -1 だけで、それは CreateREdit が成功した今はありません。
	SetREditMode 1

	; Fill it from a string variable. 文字列変数の内容を入れます。
	sdim text, 256
	text = "Lumbra.hpi のサンプルです。\nこの行は 2 行目です。\n"
	REditSetText text
	if stat = -1 : mes "text が文字列型ではありません" : stop
	if stat = -2 : mes "コントロールがありません" : stop

	; Font of what is typed next, and the colours. A face name keeps a quarter of its
	; variable's size less one byte: 128 bytes hold the longest, 31 bytes.
	; 次に入力する文字のフォントと色です。書体名は変数の大きさの 4 分の 1 より 1 バイト
	; 少ない長さで切られるので、128 バイトあれば最長の 31 バイトが入ります。
	sdim face, 128
	face = "ＭＳ ゴシック"
	SetREditFont face, 12, $0000FF, 1 + 4
	if stat = -2 : mes "face が文字列型ではありません" : stop
	SetBackColor 255, 255, 224
	SetREditIMECol $000000, $C0FFFF, 0

	; Save as RTF, clear, and load it back. RTF で保存し、消して読み直します。
	REditWrite "sample.rtf", 1
	if stat = -3 : mes "sample.rtf を作れません" : stop
	if stat = -4 : mes "sample.rtf を最後まで保存できませんでした" : stop
	REditClear
	REditRead "sample.rtf", 1
	if stat = -3 : mes "sample.rtf を開けません" : stop
	if stat = -4 : mes "sample.rtf を最後まで読み込めませんでした" : stop

	; The length counts characters, the copy counts bytes: 2 bytes per character at most.
	; 長さは文字数、コピーはバイト数で数えます。1 文字は多くても 2 バイトです。
	textlen = 0
	GetREditLength textlen
	if stat = -1 : mes "コントロールがありません" : stop
	if stat = -2 : mes "textlen が整数型ではありません" : stop
	sdim buf, textlen * 2 + 1
	REditGetText buf
	copied = 0 - stat
	linecount = 0
	GetREditLines linecount
	if stat = -2 : mes "linecount が整数型ではありません" : stop

	pos 8, 216
	mes "文字数 " + textlen + "、コピーしたバイト数 " + copied
	mes "行数 " + linecount
	; The runtime calls FreeREdit by itself when the script ends.
	; スクリプトが終わると、ランタイムが FreeREdit を自分で呼びます。
	stop
