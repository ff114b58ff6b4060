; lumbra.as: declares the commands of Lumbra.hpi @PROJECT_VERSION@ for HSP 2.x scripts.
; lumbra.as: Lumbra.hpi @PROJECT_VERSION@ の命令を HSP 2.x のスクリプトに宣言します。
;
;   #include "lumbra.as"
;
; Each command sets stat: 0 when it has done its work, a negative number when it refused.
; A result from 1 to 255 makes the runtime stop the script with that error number.
; 各命令は stat を設定します。0 は成功、負の数は実行しなかった理由を表します。
; 1 から 255 の結果では、ランタイムがその番号のエラーでスクリプトを止めます。
;
; _MyCopyRight_ (the notice box) is not declared: #func can only name functions that take
; four arguments (name@16), and the box's answer 1 would stop the script with error 1.
; The same notice is in Lumbra.hpi's file properties in Explorer.
; 案内のボックスを出す _MyCopyRight_ は宣言しません。#func が呼べるのは引数を 4 つ取る
; 関数 (名前@16) だけで、ボックスの戻り値 1 ではスクリプトがエラー 1 で止まるからです。
; 同じ案内は、エクスプローラで開く Lumbra.hpi のプロパティにあります。

#uselib "Lumbra.hpi"

; CreateREdit n
;   Object n (0-63) of the current window becomes the rich edit control, read-only.
;   stat 0 done / -1 there is no object n / -3 no control can be made (the object stays)
;        / -255 a control exists already; n outside 0-63 stops the script with error 3
;   カレントウィンドウのオブジェクト n (0-63) を読み取り専用のリッチエディットにします。
;   stat 0 成功 / -1 オブジェクト n が無い / -3 作れない (オブジェクトはそのまま)
;        / -255 すでにある。n が 0-63 の外ならエラー 3 で止まります
#func CreateREdit CreateREdit 2

; SetREditMode mode
;   0 read-only, any other value editable.  stat 0 done / -1 no control
;   0 で読み取り専用、それ以外で入力できるようにします。
;   stat 0 成功 / -1 コントロールが無い
#func SetREditMode SetREditMode 0

; REditClear
;   Removes the whole text.  stat 0 done / -1 no control
;   テキストをすべて消します。  stat 0 成功 / -1 コントロールが無い
#func REditClear REditClear 0

; REditFree
;   Forgets a control that the window has destroyed (cls, clrobj), so that CreateREdit
;   can make a new one.  stat 0 done / -2 the control still exists
;   ウィンドウが破棄したコントロール (cls、clrobj) を忘れ、CreateREdit で作り直せる
;   ようにします。  stat 0 成功 / -2 コントロールがまだある
#func REditFree REditFree 0

; FreeREdit (not written by the script)
;   Destroys the control and gives RICHED32.DLL back. The runtime calls it by itself
;   when the script ends ($100).
;   コントロールを破棄して RICHED32.DLL を解放します。スクリプトの終わりにランタイムが
;   自分で呼びます ($100)。スクリプトからは呼びません。
#func FreeREdit _FreeREdit $100

; REditSetText v
;   Puts the text of string variable v into the control.
;   stat 0 done / -1 v is not a string variable / -2 no control
;   文字列変数 v の内容をコントロールに入れます。
;   stat 0 成功 / -1 v が文字列型でない / -2 コントロールが無い
#func REditSetText REditSetText 3

; REditGetText v
;   Copies the control's text into string variable v, at most its size less one byte.
;   stat -n: n bytes were copied (0 for an empty control) / -1 v is not a string
;        variable / -2 no control. -1 and -2 are also the counts for 1 and 2 bytes:
;        check the control with GetREditLength first.
;   コントロールのテキストを文字列変数 v にコピーします (変数の大きさから 1 バイト
;   引いた長さまで)。
;   stat -n: n バイトコピーした (空なら 0) / -1 v が文字列型でない / -2 コントロールが無い。
;        1 バイトと 2 バイトのときも -1、-2 になるので、先に GetREditLength で確かめます
#func REditGetText REditGetText 3

; GetREditLength v
;   Stores the text's length in integer variable v, in characters as the control counts
;   them (not bytes): sdim a variable of v*2+1 bytes for REditGetText.
;   stat 0 done / -1 no control / -2 v is not an integer variable
;   テキストの長さをコントロールの数える文字数 (バイト数ではない) で整数変数 v に
;   入れます。REditGetText に渡す変数は v*2+1 バイトで sdim してください。
;   stat 0 成功 / -1 コントロールが無い / -2 v が整数型でない
#func GetREditLength GetREditLength 3

; GetREditLines v
;   Stores the number of lines in integer variable v.
;   stat 0 done / -1 no control / -2 v is not an integer variable
;   行数を整数変数 v に入れます。
;   stat 0 成功 / -1 コントロールが無い / -2 v が整数型でない
#func GetREditLines GetREditLines 3

; REditRead "file", format
;   Loads the file: format 0 plain text, any other value RTF.
;   stat 0 loaded / -1 no control / -3 the file cannot be opened (the control is
;        unchanged) / -4 reading failed part-way or the content was refused
;   ファイルを読み込みます。形式 0 でテキスト、それ以外で RTF。
;   stat 0 成功 / -1 コントロールが無い / -3 ファイルを開けない (そのまま)
;        / -4 途中で読めなかったか、中身を受け付けなかった
#func REditRead REditRead 6

; REditWrite "file", format
;   Saves the text, replacing the file: format 0 plain text, any other value RTF.
;   stat 0 saved / -1 no control / -3 the file cannot be created (nothing written)
;        / -4 writing failed part-way (for example a full disk)
;   テキストを保存します (ファイルは置き換え)。形式 0 でテキスト、それ以外で RTF。
;   stat 0 成功 / -1 コントロールが無い / -3 ファイルを作れない (何も書かない)
;        / -4 途中で書けなかった (ディスクがいっぱいなど)
#func REditWrite REditWrite 6

; SetREditFont face, points, colour, effects
;   Font of the selection (or of what is typed next). face: string variable with the face
;   name, cut in the variable too to a quarter of its size less one byte (sdim face, 128
;   keeps the longest, 31 bytes); colour $BBGGRR; effects add up: 1 bold, 2 italic,
;   4 underline, 8 strike-out.
;   stat 0 done / -1 no control / -2 face is not a string variable
;   選択範囲 (または次に入力する文字) のフォント。face は書体名の文字列変数で、変数の
;   大きさの 4 分の 1 より 1 バイト少ない長さに変数の中で切られます (sdim face, 128 なら
;   最長の 31 バイトまで)。色は $BBGGRR。飾りは足し算: 1 太字、2 斜体、4 下線、
;   8 取り消し線。  stat 0 成功 / -1 コントロールが無い / -2 face が文字列型でない
#func SetREditFont SetREditFont 3

; SetREditFont2
;   Opens the font dialog for the selection.  stat 0 OK or cancelled / -1 no control
;   選択範囲のフォントをダイアログで選ばせます。  stat 0 OK でもキャンセルでも / -1 無い
#func SetREditFont2 SetREditFont2 0

; SetBackColor red, green, blue
;   Background colour of the whole control, 0-255 each.  stat 0 done / -1 no control
;   コントロール全体の背景色 (それぞれ 0-255)。  stat 0 成功 / -1 コントロールが無い
#func SetBackColor SetBackColor 0

; SetREditIMECol text colour, background colour, entry
;   Colours ($BBGGRR) of one kind (entry 0-3) of IME composition text.
;   stat 0 done / -1 no control
;   IME の変換中の文字の一種類 (番号 0-3) の色 ($BBGGRR)。
;   stat 0 成功 / -1 コントロールが無い
#func SetREditIMECol SetREditIMECol 0
