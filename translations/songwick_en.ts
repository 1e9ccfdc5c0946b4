<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>songwick::App</name>
    <message>
        <source>Неизвестная ошибка.</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <source>Принтер по умолчанию не найден.

Сохранить эти страницы в файл PDF?</source>
        <translation>No default printer was found.

Save these pages as a PDF file?</translation>
    </message>
    <message>
        <source>Документы PDF|*.pdf|</source>
        <translation>PDF documents|*.pdf|</translation>
    </message>
    <message>
        <source>Сохранить страницы в файл PDF</source>
        <translation>Save the pages as a PDF file</translation>
    </message>
    <message>
        <source>Принтер по умолчанию не найден.</source>
        <translation>No default printer was found.</translation>
    </message>
    <message>
        <source>Не удалось начать печать на принтере </source>
        <translation>Could not start printing on the printer </translation>
    </message>
    <message>
        <source>таблица.pdf</source>
        <translation>table.pdf</translation>
    </message>
</context>
<context>
    <name>songwick::Catalogue</name>
    <message>
        <source>Найдено повторов: %1 в %2 группах</source>
        <translation>Repeats found: %1 in %2 groups</translation>
    </message>
    <message>
        <source>Показано %1 из %2</source>
        <translation>Showing %1 of %2</translation>
    </message>
    <message>
        <source>Имя файла</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>Расположение (путь)</source>
        <translation>Location (path)</translation>
    </message>
    <message>
        <source>Исполнитель и/или название песни</source>
        <translation>Performer and/or song title</translation>
    </message>
    <message>
        <source>Сделана...</source>
        <translation>Made by...</translation>
    </message>
    <message>
        <source>Таблица содержит %1 строк, а хранилище записей вмещает не больше %2. Записи не скопированы.</source>
        <translation>The table has %1 rows, but the record store holds no more than %2. The records were not copied.</translation>
    </message>
    <message>
        <source>В таблице уже %1 строки, больше строк программа хранить не может. Строка не добавлена.</source>
        <translation>The table already has %1 rows; the program cannot hold any more. The row was not added.</translation>
    </message>
    <message>
        <source>Обработано и помещено в таблицу %1 файла(ов)</source>
        <translation>Read %1 file(s) into the table</translation>
    </message>
    <message>
        <source>Переименовано %1 файла(ов).</source>
        <translation>Renamed %1 file(s).</translation>
    </message>
    <message>
        <source> — сканирование прервано</source>
        <translation> — scan interrupted</translation>
    </message>
    <message>
        <source>   Отмечено: %1</source>
        <translation>   Marked: %1</translation>
    </message>
    <message>
        <source>Файл списка содержит %1 строк, а таблица вмещает не больше %2. Файл не загружен.</source>
        <translation>The list file has %1 rows, but the table holds no more than %2. The file was not loaded.</translation>
    </message>
    <message>
        <source>Файл списка описывает таблицу из %1 строк и %2 столбцов, слишком большую для программы. Файл не загружен.</source>
        <translation>The list file describes a table of %1 rows and %2 columns, too big for the program. The file was not loaded.</translation>
    </message>
    <message>
        <source>Данный файл не является файлом Songwick.
<byte value="xd"/>Либо файл поврежден.</source>
        <translation>This is not a Songwick file.
<byte value="xd"/>Or the file is damaged.</translation>
    </message>
    <message>
        <source>Без исполнителя</source>
        <translation>No performer</translation>
    </message>
    <message>
        <source> (продолжение)</source>
        <translation> (continued)</translation>
    </message>
    <message>
        <source>Указатель песен</source>
        <translation>Song index</translation>
    </message>
    <message>
        <source>Песенник: нет доступа к шрифтам.</source>
        <translation>Songbook: no fonts available.</translation>
    </message>
    <message>
        <source>Песенник</source>
        <translation>Songbook</translation>
    </message>
    <message>
        <source>Песенник не может быть нарисован.</source>
        <translation>The songbook could not be drawn.</translation>
    </message>
</context>
<context>
    <name>songwick::Cli</name>
    <message>
        <source>Импортировано в таблицу %1 запись(и)
</source>
        <translation>Imported %1 row(s) into the table
</translation>
    </message>
    <message>
        <source>%1 row %2 -&gt; %3: файл строки неизвестен (в списке нет точного имени файла)
</source>
        <translation>%1 row %2 -&gt; %3: the row&apos;s file is unknown (the list has no exact file name)
</translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>имя занято другим файлом</source>
        <translation>the name is taken by another file</translation>
    </message>
    <message>
        <source>Модуль песенника не загружается: %1</source>
        <translation>The songbook module does not load: %1</translation>
    </message>
    <message>
        <source>Папка не найдена: %1</source>
        <translation>Folder not found: %1</translation>
    </message>
</context>
<context>
    <name>songwick::Help</name>
    <message>
        <source>Наберитесь терпения: на большом списке это может занять секунд 10-15, а программа в это время не отвечает на нажатия. Это нормально!</source>
        <translation>Be patient: on a big list this can take 10-15 seconds, and the program does not respond to clicks meanwhile. That is normal!</translation>
    </message>
    <message>
        <source>Для чего нужна эта программа?</source>
        <translation>What is this program for?</translation>
    </message>
    <message>
        <source>Эта программа вынимает из караоке-файлов (*.kar) всё, что в них о себе написано: исполнителя и название песни, авторов слов и музыки, того, кто сделал файл, и тому подобное.
С ней легко составить полный каталог всех Ваших караоке-файлов -- распечатайте его, и гости на вечеринке сами выберут, что спеть, вместо вечного &quot;А нет ли у тебя какого-нибудь нового хита?&quot;
А ещё она поможет дать всем файлам нормальные, понятные имена. Удачи Вам!!!</source>
        <translation>This program takes out of karaoke files (*.kar) everything they say about themselves: the performer and the title, the lyricist and the composer, who made the file, and so on.
With it you can easily put together a full catalogue of all your karaoke files -- print it, and your party guests will pick what to sing themselves instead of the eternal &quot;Got any new hits?&quot;
It also helps you give all the files proper, readable names. Good luck!!!</translation>
    </message>
    <message>
        <source>Как это все работает?</source>
        <translation>How does it all work?</translation>
    </message>
    <message>
        <source>Вы выбираете папку, а программа просматривает её и все папки внутри неё, находит все kar-файлы (все файлы, в имени которых есть &quot;kar&quot; или &quot;KAR&quot;), вынимает из каждого описание и помещает его в таблицу -- по строке на файл. В сами караоке-файлы программа никогда ничего не записывает.
Таблицу можно править прямо на экране, сохранить как файл списка (*.swk) и открыть снова, посмотреть, сохранить и напечатать в текстовом формате, экспортировать в MS Excel (файл *.xlsx) или в Ms Word (файл *.docx), а ещё по ней можно переименовать сами файлы на диске.
Экспериментируйте!! </source>
        <translation>You pick a folder, and the program scans it and every folder inside it, finds every kar file (every file with &quot;kar&quot; or &quot;KAR&quot; in its name), takes the description out of each one and puts it in a table -- one row per file. The program never writes anything into the karaoke files themselves.
You can edit the table right on the screen, save it as a list file (*.swk) and open it again, view, save and print it as text, export it to MS Excel (an *.xlsx file) or to Ms Word (a *.docx file), and rename the files on disk from it.
Experiment!! </translation>
    </message>
    <message>
        <source>Главное меню (основные функции программы)</source>
        <translation>The main menu (what the program does)</translation>
    </message>
    <message>
        <source>Как построено описание</source>
        <translation>How this description is laid out</translation>
    </message>
    <message>
        <source>Файл &gt; Новое сканирование...</source>
        <translation>File &gt; New scan...</translation>
    </message>
    <message>
        <source>Файл &gt; Открыть файл списка...</source>
        <translation>File &gt; Open a list file...</translation>
    </message>
    <message>
        <source>Файл &gt; Открыть список в текстовом формате...</source>
        <translation>File &gt; Open the list as text...</translation>
    </message>
    <message>
        <source>Файл &gt; Сохранить список</source>
        <translation>File &gt; Save the list</translation>
    </message>
    <message>
        <source>Файл &gt; Сохранить список как...</source>
        <translation>File &gt; Save the list as...</translation>
    </message>
    <message>
        <source>Файл &gt; Сохранить в текстовом формате...</source>
        <translation>File &gt; Save as text...</translation>
    </message>
    <message>
        <source>Файл &gt; Сохранить в Ms Word...</source>
        <translation>File &gt; Save to Ms Word...</translation>
    </message>
    <message>
        <source>Файл &gt; Печать из Ms Word...</source>
        <translation>File &gt; Print from Ms Word...</translation>
    </message>
    <message>
        <source>Файл &gt; Экспорт в &gt; MS Excel</source>
        <translation>File &gt; Export to &gt; MS Excel</translation>
    </message>
    <message>
        <source>Файл &gt; Экспорт в &gt; Текстовый документ</source>
        <translation>File &gt; Export to &gt; Text document</translation>
    </message>
    <message>
        <source>Файл &gt; Экспорт в &gt; Ms Word</source>
        <translation>File &gt; Export to &gt; Ms Word</translation>
    </message>
    <message>
        <source>Файл &gt; Переименовать файлы &gt; Из колонки названия файла</source>
        <translation>File &gt; Rename files &gt; From the file name column</translation>
    </message>
    <message>
        <source>Файл &gt; Переименовать файлы &gt; Сложное переименование...</source>
        <translation>File &gt; Rename files &gt; Composite rename...</translation>
    </message>
    <message>
        <source>Настройки &gt; Параметры сканирования</source>
        <translation>Settings &gt; Scan options</translation>
    </message>
    <message>
        <source>Настройки &gt; Общие настройки (кроме экспорта в MS Excel)</source>
        <translation>Settings &gt; General settings (except the MS Excel export)</translation>
    </message>
    <message>
        <source>Настройки &gt; Общие настройки (экспорт в Ms Excel)</source>
        <translation>Settings &gt; General settings (the Ms Excel export)</translation>
    </message>
    <message>
        <source>Таблица &gt; Добавить строку</source>
        <translation>Table &gt; Add a row</translation>
    </message>
    <message>
        <source>Таблица &gt; Перевести в текстовый фориат</source>
        <translation>Table &gt; Convert to text</translation>
    </message>
    <message>
        <source>Помощь &gt; О программе</source>
        <translation>Help &gt; About</translation>
    </message>
    <message>
        <source>Помощь &gt; По программе</source>
        <translation>Help &gt; Program help</translation>
    </message>
    <message>
        <source>Список переводится в текстовый формат. Там Вы можете его редактировать, открывать и сохранять.</source>
        <translation>The list is converted to text. There you can edit, open and save it.</translation>
    </message>
    <message>
        <source>Описание построено следующим образом:
Cначала следуют названия пунктов главного меню, затем подменю и т. д.</source>
        <translation>The description is laid out like this:
first the main menu entry, then the submenu, and so on.</translation>
    </message>
    <message>
        <source>Начинается новое сканирование kar-файлов. Вы должны указать каталог, в котором находятся нужные файлы.</source>
        <translation>Starts a new scan of kar files. You pick the folder that holds the files.</translation>
    </message>
    <message>
        <source>Открывается файл списка (*.swk)</source>
        <translation>Opens a list file (*.swk)</translation>
    </message>
    <message>
        <source>Открывается текстовый документ, который, вообще, должен содержать список караоке файлов (но это совсем не обязательно).</source>
        <translation>Opens a text document, which should normally hold a list of karaoke files (but it does not have to).</translation>
    </message>
    <message>
        <source>Список (таблица) сохраняется в своем формате (*.swk)</source>
        <translation>Saves the list (the table) in its own format (*.swk)</translation>
    </message>
    <message>
        <source>Список (таблица) сохраняется в своем формате (*.swk). Всегда запрашивается, в какой файл будет произведено сохранение.</source>
        <translation>Saves the list (the table) in its own format (*.swk). It always asks which file to save to.</translation>
    </message>
    <message>
        <source>Список сохраняется в обычном текстовом файле (*.txt)</source>
        <translation>Saves the list as a plain text file (*.txt)</translation>
    </message>
    <message>
        <source>Список переводится в текстовый формат и сохраняется документом Ms Word (*.docx) -- программа спросит, куда его положить. </source>
        <translation>Converts the list to text and saves it as an Ms Word document (*.docx) -- the program asks where to put it. </translation>
    </message>
    <message>
        <source>
Открыть такой документ можно в любом текстовом редакторе, который понимает формат Word (посмотрите в меню Помощь &gt; О программе, с чем работает Ваша программа).</source>
        <translation>
You can open such a document in any word processor that reads the Word format (see Help &gt; About for what your program works with).</translation>
    </message>
    <message>
        <source>Список переводится в текстовый формат и печатается на принтере, который выбран в системе принтером по умолчанию. </source>
        <translation>Converts the list to text and prints it on the system&apos;s default printer. </translation>
    </message>
    <message>
        <source>
Если принтер не найден, программа так и скажет, а список останется в целости.</source>
        <translation>
If no printer is found, the program says so, and the list stays as it is.</translation>
    </message>
    <message>
        <source>Список экспортируется в таблицу MS Excel (файл *.xlsx), которая сразу открывается в программе для работы с таблицами, установленной на Вашем компьютере. </source>
        <translation>Exports the list to an MS Excel spreadsheet (an *.xlsx file), which opens at once in the spreadsheet program installed on your computer. </translation>
    </message>
    <message>
        <source> Если ждать приходится совсем долго, отключите выделение цветом в настройках экспорта: меню &quot;Настройки&quot; &gt; &quot;Общие настройки&quot;, закладка &quot;Экспорт в Excel&quot;.
</source>
        <translation> If it takes really long, turn off the colours in the export settings: menu &quot;Settings&quot; &gt; &quot;General settings&quot;, tab &quot;Excel export&quot;.
</translation>
    </message>
    <message>
        <source>Список переводится в текстовый формат и передаётся в документ Ms Word (файл *.docx), который открывается в текстовом редакторе Вашего компьютера. </source>
        <translation>Converts the list to text and puts it in an Ms Word document (a *.docx file), which opens in your computer&apos;s word processor. </translation>
    </message>
    <message>
        <source>Переименовываются только те файлы, имя которых Вы изменили в колонке &quot;Имя файла&quot;, -- всё равно, отмечены они галочкой или нет.
Если новое имя недопустимо (например, в нём есть символ &quot;/&quot;) или файл с таким именем в папке уже есть, появится сообщение об ошибке, и этот файл переименован не будет -- чужой файл программа никогда не затрёт.
Передумали? &quot;Файл &gt; Переименовать файлы &gt; Отменить последнее переименование&quot; вернёт файлам прежние имена -- тем, которые с тех пор никто не трогал. Если отмену прервали (например, выключили компьютер), следующая отмена доделает её. А если отменить ещё раз после законченной отмены, файлы снова получат новые имена.</source>
        <translation>Renames only the files whose name you changed in the &quot;File name&quot; column -- marked or not.
If a new name is invalid (for example, it has a &quot;/&quot; in it) or the folder already has a file with that name, an error message appears and that file is not renamed -- the program never overwrites another file.
Changed your mind? &quot;File &gt; Rename files &gt; Undo the last rename&quot; gives the files their old names back -- those nobody has touched since. If the undo was interrupted (say, the computer was switched off), the next undo finishes it. And undoing again after a finished undo gives the files their new names again.</translation>
    </message>
    <message>
        <source>Новое имя каждого файла собирается из нескольких частей. Отметьте галочками нужные части (колонки таблицы, свой текст, фразу из списка, дату и/или время) и расставьте их в нужном порядке кнопками &quot;вверх&quot; и &quot;вниз&quot;. Выберите разделитель, который будет стоять между частями, и какие файлы переименовывать: все или только отмеченные.
Внимание! Новое имя должно содержать хотя бы один символ, поэтому следите, чтобы нужные ячейки таблицы не были пустыми. Имена не должны повторяться. А если имя получается слишком длинным, его конец отбрасывается: имя вместе с &quot;.kar&quot; не может быть длиннее 255 байт (это примерно 127 русских букв).</source>
        <translation>Each file&apos;s new name is put together from several parts. Tick the parts you want (table columns, your own text, a phrase from the list, the date and/or time) and put them in order with the &quot;Up&quot; and &quot;Down&quot; buttons. Choose the separator that goes between the parts, and which files to rename: all of them or only the marked ones.
Note! A new name must have at least one character, so make sure the cells you use are not empty. Names must not repeat. And if a name comes out too long, its end is cut off: the name with &quot;.kar&quot; cannot be longer than 255 bytes (about 127 Russian letters).</translation>
    </message>
    <message>
        <source>В окне &quot;Параметры сканирования&quot; есть флажок &quot;Обработка большого количества файлов&quot;. Поставьте его, если нужно обработать очень много файлов (больше 8000). Работа при этом займёт больше времени, а иногда может закончиться ошибкой, поэтому начинающим пользователям ставить этот флажок не рекомендуется.
Лучше сканируйте файлы небольшими группами и обходите стороной папки, в которых очень много (в том числе пустых) вложенных папок.
И помните: новое сканирование закрывает предыдущую таблицу!</source>
        <translation>The &quot;Scan options&quot; window has a &quot;Scan a large number of files&quot; box. Tick it when you need to scan a great many files (more than 8000). The scan then takes longer and may sometimes end in an error, so beginners had better leave it unticked.
Better scan your files in small batches and stay away from folders with very many (including empty) folders inside them.
And remember: a new scan closes the previous table!</translation>
    </message>
    <message>
        <source>Закладка &quot;Общие&quot;: ширина колонок таблицы -- фиксированная, Ваша собственная (та, что Вы растянули мышкой; она запоминается, когда Вы выходите из программы) или по самой широкой строке в столбце. Там же включаются и выключаются всплывающие подсказки.
Закладка &quot;Текстовый формат&quot;: дополнительные строки под таблицей в текстовом формате -- дата и время и любая надпись на Ваш вкус.
Закладка &quot;Сообщения об ошибках&quot;: показывать ли сообщения об ошибках при переименовании файлов.</source>
        <translation>Tab &quot;General&quot;: the width of the table&apos;s columns -- fixed, your own (what you dragged with the mouse; it is kept when you exit the program) or fitting the widest entry in the column. Pop-up hints are turned on and off there too, and so is the interface language.
Tab &quot;Text format&quot;: extra lines under the table in the text format -- the date and time and any caption you like.
Tab &quot;Error messages&quot;: whether to show error messages when renaming files.</translation>
    </message>
    <message>
        <source>Закладка &quot;Экспорт в Excel&quot;: номера строк (можно курсивом), выделение цветом текста, границ и заливки -- отдельно для заголовков и для всей таблицы, какие границы рисовать, ширина колонок по самой широкой строке.
Под таблицей можно добавить дополнительную информацию: дату и/или время, фразу из списка №1 и из списка №2 (выберите готовую или напишите свою) и ещё одну строку -- какую захотите.</source>
        <translation>Tab &quot;Excel export&quot;: row numbers (italic if you like), coloured text, borders and fill -- separately for the headings and for the whole table, which borders to draw, column width fitting the widest entry.
Under the table you can add extra information: the date and/or time, a phrase from list no. 1 and from list no. 2 (pick one or write your own) and one more line -- whatever you like.</translation>
    </message>
    <message>
        <source>На место курсора добавляется еще одна строка.
Не забудьте её заполнить: если перед переименованием в таблице останутся пустые строки или ячейки, новые имена могут получиться пустыми, и такие файлы переименованы не будут.</source>
        <translation>Adds one more row where the cursor is.
Don&apos;t forget to fill it in: if empty rows or cells are left in the table when you rename, new names may come out empty, and those files will not be renamed.</translation>
    </message>
    <message>
        <source>
Эквивалент команюы меню Файл &gt; Экспорт в текстовый формат.</source>
        <translation>
The same as the menu command File &gt; Export to text.</translation>
    </message>
    <message>
        <source>Здесь Вы можете узнать информацию о программе (описание, ее версию и т. д.), а ткакже посмотреть заставку.</source>
        <translation>Here you can find out about the program (its description, its version and so on) and see the splash screen.</translation>
    </message>
    <message>
        <source>Ну а помощь Вы смотрите сейчас!! :-)</source>
        <translation>And the help is what you are reading now!! :-)</translation>
    </message>
    <message>
        <source>Рекомендации</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>Как лучше сканировать...</source>
        <translation>How best to scan...</translation>
    </message>
    <message>
        <source>Общие рекомендации</source>
        <translation>General tips</translation>
    </message>
    <message>
        <source>Как сделать, чтобы не возникало никаких ошибок</source>
        <translation>How to avoid errors altogether</translation>
    </message>
    <message>
        <source>Просто так!</source>
        <translation>Just because!</translation>
    </message>
    <message>
        <source>Не обрабатывайте сразу очень много файлов и обходите стороной папки с большим количеством (в том числе пустых) вложенных папок. Лучше всего скопируйте все караоке-файлы в одну папку и сканируйте её.
На всякий случай: программа обрабатывает только файлы *.kar.</source>
        <translation>Don&apos;t scan very many files at once, and stay away from folders with a great many (including empty) folders inside them. Best of all, copy all your karaoke files into one folder and scan that.
Just so you know: the program only handles *.kar files.</translation>
    </message>
    <message>
        <source>Инструкция по уходу за программой: не роняйте её, не кормите после полуночи, не давайте ей скучать -- почаще показывайте ей новые песни и не забывайте хвалить за хорошую работу! :-)
А если серьёзно: если следовать предыдущим рекомендациям, программа работает хорошо.</source>
        <translation>Care instructions for the program: don&apos;t drop it, don&apos;t feed it after midnight, don&apos;t let it get bored -- show it new songs often and don&apos;t forget to praise it for good work! :-)
Seriously, though: if you follow the tips above, the program works well.</translation>
    </message>
    <message>
        <source>Следите за параметрами переименования: в нужных ячейках таблицы не должно быть пустых мест. Не давайте двум файлам одинаковые имена. Не сканируйте слишком много файлов или папок за один раз.
...И всё будет нормально</source>
        <translation>Watch the rename options: the cells you use must not be empty. Don&apos;t give two files the same name. Don&apos;t scan too many files or folders at once.
...And everything will be fine</translation>
    </message>
    <message>
        <source>Надеюсь, эта программа поможет Вам!!!! 
Удачи!</source>
        <translation>I hope this program helps you!!!! 
Good luck!</translation>
    </message>
    <message>
        <source>В Интернете</source>
        <translation>On the Internet</translation>
    </message>
    <message>
        <source>Сайт программы</source>
        <translation>The program&apos;s website</translation>
    </message>
    <message>
        <source>Новые версии программы</source>
        <translation>New versions of the program</translation>
    </message>
    <message>
        <source>Эта же версия программы, сконфигурированная под другой Офис (Office 97, 2000, 2002)</source>
        <translation>This version of the program set up for another Office (Office 97, 2000, 2002)</translation>
    </message>
    <message>
        <source>Караоке файлы</source>
        <translation>Karaoke files</translation>
    </message>
    <message>
        <source>Сайт программы -- страница проекта Songwick (его описание в файле README). Там же, на странице выпусков проекта, лежат новые версии программы и все её сборки.</source>
        <translation>The program&apos;s website is the page of the Songwick project (described in its README file). New versions of the program and all its builds are there too, on the project&apos;s releases page.</translation>
    </message>
    <message>
        <source>Новые версии программы можно скачать на странице выпусков проекта Songwick (ссылка на неё есть на странице проекта, в файле README).</source>
        <translation>New versions of the program can be downloaded from the releases page of the Songwick project (linked from the project page, in the README file).</translation>
    </message>
    <message>
        <source>Эта версия программы записывает таблицы и документы в файлы *.xlsx и *.docx, которые открывает любой современный офисный пакет, так что отдельная сборка под другой Офис обычно не нужна. Если всё же понадобится -- все сборки лежат на странице выпусков проекта Songwick.</source>
        <translation>This version of the program writes spreadsheets and documents as *.xlsx and *.docx files, which any modern office suite opens, so a separate build for another Office is usually not needed. If you do need one, all the builds are on the releases page of the Songwick project.</translation>
    </message>
    <message>
        <source>Караоке-файлы можно скачать с сайтов караоке-файлов (и их зеркал) или вообще с любого музыкального сайта. Пользуйтесь только теми файлами, которые там выложены законно, -- и пойте на здоровье!</source>
        <translation>You can download karaoke files from karaoke file sites (and their mirrors) or from any music site at all. Use only the files that are shared there legally -- and sing to your heart&apos;s content!</translation>
    </message>
    <message>
        <source>Новые возможности</source>
        <translation>New features</translation>
    </message>
    <message>
        <source>Поиск в таблице</source>
        <translation>Finding in the table</translation>
    </message>
    <message>
        <source>Таблица &gt; Сортировать по столбцу</source>
        <translation>Table &gt; Sort by column</translation>
    </message>
    <message>
        <source>Таблица &gt; Найти повторы</source>
        <translation>Table &gt; Find repeats</translation>
    </message>
    <message>
        <source>Таблица &gt; Удалить отмеченные строки</source>
        <translation>Table &gt; Delete marked rows</translation>
    </message>
    <message>
        <source>Файл &gt; Песенник в PDF...</source>
        <translation>File &gt; Songbook as PDF...</translation>
    </message>
    <message>
        <source>Чтение описаний по структуре MIDI-файла</source>
        <translation>Reading descriptions by the MIDI file&apos;s structure</translation>
    </message>
    <message>
        <source>Таблица &gt; Перечитать отмеченные строки по структуре файла</source>
        <translation>Table &gt; Reread marked rows by the file&apos;s structure</translation>
    </message>
    <message>
        <source>Запоминать прочитанные файлы (быстрое повторное сканирование)</source>
        <translation>Remember the files read (a fast repeat scan)</translation>
    </message>
    <message>
        <source>Список переименований перед выполнением</source>
        <translation>The list of renames before renaming</translation>
    </message>
    <message>
        <source>Журнал переименований и их отмена</source>
        <translation>The rename journal and undoing renames</translation>
    </message>
    <message>
        <source>Строка поиска над таблицей (Ctrl+F) оставляет в таблице только строки, в которых есть набранный текст. Флажки рядом с ней показывают только отмеченные строки, только строки без названия или только повторы. Esc очищает поиск, и таблица снова показывает все строки. Сама таблица при этом не меняется.</source>
        <translation>The find line above the table (Ctrl+F) leaves only the rows that hold the text you type. The boxes beside it show only the marked rows, only the rows without a title, or only the repeats. Esc clears the find line, and the table shows all rows again. The table itself does not change.</translation>
    </message>
    <message>
        <source>Сортирует строки по столбцу, в котором стоит курсор (Ctrl+Alt+S), или по столбцу, на заголовок которого Вы щёлкнули с нажатой клавишей Ctrl. Повторная сортировка по тому же столбцу идёт в обратном порядке; стрелка на заголовке показывает, по какому столбцу и в каком порядке отсортирована таблица. Пробелы, кавычки и знаки препинания в начале текста (&quot;&gt;&gt;&gt;&quot;, &quot;&quot;&quot;) при сортировке не учитываются, пустые ячейки всегда идут в конце. Отметки остаются у своих строк.</source>
        <translation>Sorts the rows by the column the cursor is in (Ctrl+Alt+S), or by the column whose heading you Ctrl-click. Sorting by the same column again reverses the order; the arrow on the heading shows which column the table is sorted by, and in which order. Spaces, quotes and punctuation at the start of a text (&quot;&gt;&gt;&gt;&quot;, &quot;&quot;&quot;) are ignored, and empty cells always come last. Marks stay with their rows.</translation>
    </message>
    <message>
        <source>Находит песни, которые встречаются в таблице несколько раз (Ctrl+Alt+D): одно и то же название и исполнитель без учёта регистра и мелких различий, а также файлы с одинаковым содержимым. Повторы ставятся рядом друг с другом, и все, кроме первого в каждой группе, отмечаются -- их можно сразу удалить из таблицы.</source>
        <translation>Finds the songs that appear in the table more than once (Ctrl+Alt+D): the same title and performer, ignoring case and small differences, and files with the same contents. Repeats are put next to each other, and all but the first in each group are marked -- you can delete them from the table straight away.</translation>
    </message>
    <message>
        <source>Удаляет из таблицы все отмеченные строки (Ctrl+Shift+Del), спросив перед этим подтверждение. Файлы на диске остаются на месте: меняется только таблица.</source>
        <translation>Deletes all marked rows from the table (Ctrl+Shift+Del), asking you first. The files on disk stay where they are: only the table changes.</translation>
    </message>
    <message>
        <source>Составляет песенник -- документ PDF с песнями из таблицы, собранными по исполнителям в алфавитном порядке под буквами (Ctrl+Alt+P). Если в таблице включён поиск, в песенник попадают только показанные строки. Программа предлагает сохранить его как &quot;песенник.pdf&quot; в папке документов.</source>
        <translation>Makes a songbook -- a PDF document of the songs in the table, grouped by performer in alphabetical order under their letters (Ctrl+Alt+P). When the find line is in use, only the rows shown go into the songbook. The program offers to save it in your documents folder.</translation>
    </message>
    <message>
        <source>В окне Настройки &gt; Параметры сканирования можно выбрать, как читать описания: &quot;По правилам программы&quot; (как всегда) или &quot;По структуре MIDI-файла&quot; -- тогда программа разбирает дорожки файла, сама определяет кодовую страницу текстов (или берёт ту, что Вы указали) и может взять исполнителя и название из имени файла по шаблонам, по одному в строке.</source>
        <translation>In the Settings &gt; Scan options window you can choose how descriptions are read: &quot;By the program&apos;s rules&quot; (as always) or &quot;By the MIDI file&apos;s structure&quot; -- then the program goes through the file&apos;s tracks, works out the code page of the texts itself (or takes the one you set) and can take the performer and title from the file name by patterns, one per line.</translation>
    </message>
    <message>
        <source>Перечитывает отмеченные строки таблицы по структуре MIDI-файла с теми же настройками кодовой страницы и шаблонов имён. Удобно, когда описание прочиталось неудачно: отметьте такие строки и перечитайте только их.</source>
        <translation>Rereads the marked rows of the table by the MIDI file&apos;s structure, with the same code page and name pattern settings. Handy when a description came out wrong: mark those rows and reread just them.</translation>
    </message>
    <message>
        <source>С этим флажком в параметрах сканирования программа запоминает уже прочитанные файлы, и повторное сканирование той же папки идёт намного быстрее: заново читаются только новые и изменившиеся файлы. Записи о файлах, которых программа не видела 90 дней, забываются.</source>
        <translation>With this box ticked in the scan options the program remembers the files it has read, and scanning the same folder again is much faster: only new and changed files are read again. Files the program has not seen for 90 days are forgotten.</translation>
    </message>
    <message>
        <source>Флажок &quot;Показывать список переименований перед выполнением&quot; находится в окне сложного переименования и включён, пока его не выключить: перед сложным переименованием нескольких файлов программа показывает, в какой папке какие файлы как будут названы и какие переименованы не будут и почему. Переименование по колонке имён файлов и сложное переименование одного файла показывают список, только если флажок включили сами. Кнопка &quot;Выполнить&quot; переименовывает, &quot;Отмена&quot; ничего не меняет. При сложном переименовании новое имя получает то же расширение, что было у файла.</source>
        <translation>The &quot;Show the list of renames before renaming&quot; box is in the composite rename window and stays on until you turn it off: before a composite rename of several files the program shows, folder by folder, what each file will be called, which files will not be renamed, and why. Renaming from the file name column and a composite rename of a single file show the list only if you turned the box on yourself. &quot;Rename&quot; renames, &quot;Cancel&quot; changes nothing. A composite rename keeps the file&apos;s extension in the new name.</translation>
    </message>
    <message>
        <source>Каждое переименование записывается в журнал до того, как файлы получат новые имена. Файл &gt; Переименовать файлы &gt; Отменить последнее переименование возвращает файлам последнего переименования их прежние имена, даже если программа была закрыта или прервана посреди работы. Файл, который с тех пор изменили или переименовали снова, не трогается, и программа об этом сообщает.</source>
        <translation>Every rename is written to a journal before the files get their new names. File &gt; Rename files &gt; Undo the last rename gives the files of the last rename their old names back, even if the program was closed or interrupted halfway. A file that has been changed or renamed again since is left alone, and the program tells you so.</translation>
    </message>
    <message>
        <source>(Необходимо, чтобы на Вашем компьютере была установлена программа, которая открывает файлы *.xlsx и *.docx, например LibreOffice. С чем работает Ваша программа, Вы можете посмотреть в меню Помощь &gt; О программе)</source>
        <translation>(Your computer needs a program that opens *.xlsx and *.docx files, such as LibreOffice. See Help &gt; About for what your program works with)</translation>
    </message>
    <message>
        <source>Картинка пуста: в ней нет ни одного байта.</source>
        <translation>The picture is empty: it has no bytes at all.</translation>
    </message>
    <message>
        <source>Картинку не удалось прочитать: </source>
        <translation>Could not read the picture: </translation>
    </message>
    <message>
        <source>Картинку &quot;%1&quot; не удалось открыть: %2</source>
        <translation>Could not open the picture &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Поиск песни по словам</source>
        <translation>Finding a song by its lyrics</translation>
    </message>
    <message>
        <source>Выберите справа от строки поиска &quot;по словам песни&quot; и наберите строчку, которую помните из песни: слова можно писать в любом порядке, точную фразу -- в кавычках, последнее слово можно не дописывать. Таблица покажет песни, в которых поются эти слова, самые подходящие первыми, а под строкой поиска -- строчку песни из текущей строки таблицы, найденные слова жирным. Регистр букв и &quot;ё&quot; не важны.
При первом таком поиске программа читает слова песен из всех файлов таблицы (на большой коллекции это может занять минуту; &quot;Прервать&quot; останавливает чтение) и запоминает их; потом заново читаются только новые и изменившиеся файлы. Сканирование по структуре MIDI-файла читает слова песен само, во время сканирования и после него. Если файл перенесли или удалили, под строкой поиска сказано, у скольких строк слова ещё не известны.</source>
        <translation>Choose &quot;by lyrics&quot; to the right of the find line and type a line you remember from the song: the words can come in any order, an exact phrase goes in quotes, and the last word need not be finished. The table shows the songs in which those words are sung, best matches first, and under the find line the line of the song in the current row, with the words found in bold. Neither letter case nor the Russian letter yo matters.
The first such search reads the lyrics of every file in the table (on a big collection this can take a minute; &quot;Stop&quot; ends the reading) and remembers them; after that only new and changed files are read again. A scan by the MIDI file&apos;s structure reads the lyrics by itself, while it scans and after it. If a file was moved or deleted, the line under the find line says how many rows still have no known lyrics.</translation>
    </message>
</context>
<context>
    <name>songwick::Language</name>
    <message>
        <source>ru</source>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>songwick::LyricsSearch</name>
    <message>
        <source>Слова песен пока не известны для строк: %1. Их файлы не найдены там, где указано в таблице (перемещены или удалены), или не читаются.</source>
        <translation>The lyrics are not known yet for %1 row(s). Their files are not where the table says (moved or deleted), or cannot be read.</translation>
    </message>
    <message>
        <source>Строка %1: %2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>И ещё строк: %1.</source>
        <translation>And %1 more row(s).</translation>
    </message>
    <message>
        <source>прочитать файл</source>
        <translation>read the file</translation>
    </message>
    <message>
        <source>неизвестно, какой файл на диске представляет строка &quot;%1&quot;.</source>
        <translation>it is not known which file on disk the row &quot;%1&quot; stands for.</translation>
    </message>
    <message>
        <source>Чтение слов песен прервано. Слова пока не известны для строк: %1.</source>
        <translation>Reading the lyrics was stopped. The lyrics are not known yet for rows: %1.</translation>
    </message>
    <message>
        <source>чтение слов песен было прервано.</source>
        <translation>reading the lyrics was stopped.</translation>
    </message>
</context>
<context>
    <name>songwick::Office</name>
    <message>
        <source>Список караоке файлов</source>
        <translation>Karaoke file list</translation>
    </message>
    <message>
        <source>Дополнительная информация:</source>
        <translation>Additional information:</translation>
    </message>
    <message>
        <source>Не удалось создать папку для временных файлов &quot;%1&quot;</source>
        <translation>Could not create the folder for temporary files &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Файлы Excel|*.xls;*.xlsx|</source>
        <translation>Excel files|*.xls;*.xlsx|</translation>
    </message>
    <message>
        <source>Лист книги%1 содержит %2 строк, а таблица вмещает не больше %3. Файл не загружен.</source>
        <translation>The sheet of the workbook%1 has %2 rows, but the table holds no more than %3. The file was not loaded.</translation>
    </message>
    <message>
        <source>Лист книги%1 описывает таблицу из %2 строк и %3 столбцов, слишком большую для программы. Файл не загружен.</source>
        <translation>The sheet of the workbook%1 describes a table of %2 rows and %3 columns, too big for the program. The file was not loaded.</translation>
    </message>
    <message>
        <source>Импортировано в таблицу %1 запись(и)</source>
        <translation>Imported %1 row(s) into the table</translation>
    </message>
    <message>
        <source>Файл повреждён или не является книгой Excel: %1</source>
        <translation>The file is damaged or is not an Excel workbook: %1</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; слишком велик для книги с таблицей. Файл не загружен.</source>
        <translation>The file &quot;%1&quot; is too big for a workbook with a table. The file was not loaded.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: на этом компьютере не найдена программа для файлов такого вида. Файл сохранён и его можно открыть вручную.</source>
        <translation>Could not open the file &quot;%1&quot;: no program for files of this kind was found on this computer. The file has been saved and you can open it yourself.</translation>
    </message>
    <message>
        <source>Подождите...</source>
        <translation>Please wait...</translation>
    </message>
    <message>
        <source>Не удалось создать папку &quot;%1&quot;</source>
        <translation>Could not create the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Файл записан: </source>
        <translation>File saved: </translation>
    </message>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: на этом компьютере не найдена программа для файлов такого вида. Файл сохранён и его можно открыть вручную.
Открыть папку &quot;%2&quot;?</source>
        <translation>Could not open the file &quot;%1&quot;: no program for files of this kind was found on this computer. The file has been saved and you can open it yourself.
Open the folder &quot;%2&quot;?</translation>
    </message>
    <message>
        <source>Документ Word|*.docx|</source>
        <translation>Word document|*.docx|</translation>
    </message>
    <message>
        <source>Список kar файлов</source>
        <translation>Karaoke file list</translation>
    </message>
    <message>
        <source>Неверная ссылка на ячейку: &quot;%1&quot;</source>
        <translation>Invalid cell reference: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Нет цвета с номером %1 в палитре</source>
        <translation>The palette has no colour number %1</translation>
    </message>
    <message>
        <source>Слишком много различных форматов ячеек</source>
        <translation>Too many different cell formats</translation>
    </message>
    <message>
        <source>Диапазон ячеек вне листа</source>
        <translation>The cell range lies outside the sheet</translation>
    </message>
    <message>
        <source>Размер массива не совпадает с размером диапазона</source>
        <translation>The size of the array does not match the size of the range</translation>
    </message>
    <message>
        <source>Лист книги &quot;%1&quot; больше, чем может принять таблица (%2 строк, %3 столбцов). Файл не загружен.</source>
        <translation>The sheet of the workbook &quot;%1&quot; is bigger than the table can take (%2 rows, %3 columns). The file was not loaded.</translation>
    </message>
    <message>
        <source>Лист книги &quot;%1&quot; содержит больше %2 заполненных ячеек. Файл не загружен.</source>
        <translation>The sheet of the workbook &quot;%1&quot; has more than %2 filled cells. The file was not loaded.</translation>
    </message>
    <message>
        <source>Книга &quot;%1&quot; слишком велика для таблицы. Файл не загружен.</source>
        <translation>The workbook &quot;%1&quot; is too big for the table. The file was not loaded.</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Недостаточно памяти для форматов книги</source>
        <translation>Not enough memory for the workbook&apos;s formats</translation>
    </message>
    <message>
        <source>Текст %1 ячеек длиннее %2 знаков, которые вмещает ячейка, и обрезан до этой длины.</source>
        <translation>The text of %1 cell(s) is longer than the %2 characters a cell holds and was cut to that length.</translation>
    </message>
    <message>
        <source>Недопустимое имя листа: &quot;%1&quot;</source>
        <translation>Invalid sheet name: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Не удалось собрать архив документа: %1</source>
        <translation>Could not build the document&apos;s archive: %1</translation>
    </message>
</context>
<context>
    <name>songwick::Phrases</name>
    <message>
        <source>Всем привет!</source>
        <translation>Hello everybody!</translation>
    </message>
    <message>
        <source>Сделанно в СССР</source>
        <translation>Made in the USSR</translation>
    </message>
    <message>
        <source>Сделано в России</source>
        <translation>Made in Russia!</translation>
    </message>
    <message>
        <source>Список караоке файлов</source>
        <translation>Karaoke file list</translation>
    </message>
    <message>
        <source>В подарок</source>
        <translation>A gift</translation>
    </message>
    <message>
        <source>Джаз</source>
        <translation>Jazz</translation>
    </message>
    <message>
        <source>Для души</source>
        <translation>For the soul</translation>
    </message>
    <message>
        <source>Для тела</source>
        <translation>For the body</translation>
    </message>
    <message>
        <source>Женщинам</source>
        <translation>For the ladies</translation>
    </message>
    <message>
        <source>Избранное</source>
        <translation>Favourites</translation>
    </message>
    <message>
        <source>Иностанные песни</source>
        <translation>Foreign songs</translation>
    </message>
    <message>
        <source>Коллекция</source>
        <translation>Collection</translation>
    </message>
    <message>
        <source>Лучшее</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>Лучшее из лчших</source>
        <translation>Best of the best</translation>
    </message>
    <message>
        <source>Мазовая музыка</source>
        <translation>Mainstream music</translation>
    </message>
    <message>
        <source>Мужчинам</source>
        <translation>For the gents</translation>
    </message>
    <message>
        <source>Поп</source>
        <translation>Pop</translation>
    </message>
    <message>
        <source>Прикольная музыка</source>
        <translation>Fun music</translation>
    </message>
    <message>
        <source>Продвинутая музыка</source>
        <translation>Cutting-edge music</translation>
    </message>
    <message>
        <source>Рок</source>
        <translation>Rock</translation>
    </message>
    <message>
        <source>Россия</source>
        <translation>From Russia</translation>
    </message>
    <message>
        <source>Русские песни</source>
        <translation>Russian songs</translation>
    </message>
    <message>
        <source>Сборник</source>
        <translation>Compilation</translation>
    </message>
    <message>
        <source>Супер сборник</source>
        <translation>Super compilation</translation>
    </message>
    <message>
        <source>Танцуют все!</source>
        <translation>Everybody dance!</translation>
    </message>
    <message>
        <source>Всем, всем, всем наиoгромнейший привет!!!</source>
        <translation>A huge hello to each and every one of you!!!</translation>
    </message>
    <message>
        <source>Напишите здесь чего-нибудь</source>
        <translation>Write something here</translation>
    </message>
    <message>
        <source>Всем ПрИвЕтИк!</source>
        <translation>HeLlO eVeRyBoDy!</translation>
    </message>
    <message>
        <source>Напишите, что хотите!!!</source>
        <translation>Write whatever you like!!!</translation>
    </message>
    <message>
        <source>Вся ЖИЗНЬ -- Праздник!</source>
        <translation>LIFE is a party!</translation>
    </message>
    <message>
        <source>Всё...</source>
        <translation>That&apos;s it...</translation>
    </message>
</context>
<context>
    <name>songwick::Rename</name>
    <message>
        <source>Первоначальное название файла</source>
        <translation>Original file name</translation>
    </message>
    <message>
        <source>К новому названию файла добавляется имя, которым он обладает на данный момент</source>
        <translation>Adds the name the file has now to its new name</translation>
    </message>
    <message>
        <source>3-я колонка Вашей таблицы</source>
        <translation>Column 3 of your table</translation>
    </message>
    <message>
        <source>К новому названию файла добавляется содержимое третьего столбца Вашей таблицы (для каждого файла свое). Обычно там располагается название композиции и/или имя исполнителя</source>
        <translation>Adds the third column of your table to the new file name (each file its own). It usually holds the title and/or the performer</translation>
    </message>
    <message>
        <source>4-я колонка Вашей таблицы</source>
        <translation>Column 4 of your table</translation>
    </message>
    <message>
        <source>К новому названию файла добавляется содержимое четвертого столбца Вашей таблицы (для каждого файла свое). Обычно, но не всегда, там находится фамилия и имя автора слов песни</source>
        <translation>Adds the fourth column of your table to the new file name (each file its own). It usually, but not always, holds the lyricist&apos;s name</translation>
    </message>
    <message>
        <source>5-я колонка Вашей таблицы</source>
        <translation>Column 5 of your table</translation>
    </message>
    <message>
        <source>К новому названию файла добавляется содержимое пятого столбца Вашей таблицы (для каждого файла свое). Обычно, но не всегда, там находится фамилия и имя композитора песни</source>
        <translation>Adds the fifth column of your table to the new file name (each file its own). It usually, but not always, holds the composer&apos;s name</translation>
    </message>
    <message>
        <source>6-я колонка Вашей таблицы</source>
        <translation>Column 6 of your table</translation>
    </message>
    <message>
        <source>К новому названию файла добавляется содержимое шестого столбца Вашей таблицы (для каждого файла свое). Обычно там находится название программы, с помощью которой был создан данный файл.  Также здесь может содержаться всякая рекламная информация (сайт, e-mail и т. д.)</source>
        <translation>Adds the sixth column of your table to the new file name (each file its own). It usually holds the name of the program the file was made with.  It may also hold all kinds of advertising (a website, an e-mail address and so on)</translation>
    </message>
    <message>
        <source>Своя строка</source>
        <translation>Your own text</translation>
    </message>
    <message>
        <source>К именам всех новых файлов будет добавлена строка, которую Вы введете ниже!</source>
        <translation>Adds the text you type below to every new file name!</translation>
    </message>
    <message>
        <source>Выбор из списка</source>
        <translation>Pick from the list</translation>
    </message>
    <message>
        <source>К именам всех новых файлов будет добавлено то,что Вы выберите из списка</source>
        <translation>Adds what you pick from the list to every new file name</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>К именам всех новых файлов будет добавлена дата и/или время</source>
        <translation>Adds the date and/or the time to every new file name</translation>
    </message>
    <message>
        <source>Пробел &quot; &quot;</source>
        <translation>Space &quot; &quot;</translation>
    </message>
    <message>
        <source>2 пробела &quot;  &quot;</source>
        <translation>2 spaces &quot;  &quot;</translation>
    </message>
    <message>
        <source>Точка с запятой + пробел  &quot;; &quot;</source>
        <translation>Semicolon + space  &quot;; &quot;</translation>
    </message>
    <message>
        <source>Тире (один дефис) &quot;-&quot;</source>
        <translation>Dash (one hyphen) &quot;-&quot;</translation>
    </message>
    <message>
        <source>Тире &quot;--&quot;</source>
        <translation>Dash &quot;--&quot;</translation>
    </message>
    <message>
        <source>Тире с пробелами &quot; -- &quot;</source>
        <translation>Dash with spaces &quot; -- &quot;</translation>
    </message>
    <message>
        <source>Знак подчеркивания &quot;_&quot;</source>
        <translation>Underscore &quot;_&quot;</translation>
    </message>
    <message>
        <source>Две точки + пробел &quot;.. &quot;</source>
        <translation>Two dots + space &quot;.. &quot;</translation>
    </message>
    <message>
        <source>Символы \/:*?&quot;&lt;&gt;| не могут быть использованы при вводе имени папки!</source>
        <translation>The characters \/:*?&quot;&lt;&gt;| cannot be used in a folder name!</translation>
    </message>
    <message>
        <source>это не журнал переименований</source>
        <translation>this is not a rename journal</translation>
    </message>
    <message>
        <source>нет заголовка</source>
        <translation>no header</translation>
    </message>
    <message>
        <source>строка %1 после завершения</source>
        <translation>line %1 after the end</translation>
    </message>
    <message>
        <source>неверное время</source>
        <translation>invalid time</translation>
    </message>
    <message>
        <source>неизвестный вид переименования</source>
        <translation>unknown kind of rename</translation>
    </message>
    <message>
        <source>строка %1 не читается</source>
        <translation>line %1 cannot be read</translation>
    </message>
    <message>
        <source>Файлы не переименованы.</source>
        <translation>No files were renamed.</translation>
    </message>
    <message>
        <source>Журнал переименований %1 записан на другом компьютере. Он не используется, файлы не тронуты.</source>
        <translation>The rename journal %1 was written on another computer. It is not used; no files were touched.</translation>
    </message>
    <message>
        <source>. Журнал переименований не используется, файлы не тронуты.</source>
        <translation>. The rename journal is not used; no files were touched.</translation>
    </message>
    <message>
        <source>Журнал переименований %1 поврежден (%2). Он не используется, файлы не тронуты.</source>
        <translation>The rename journal %1 is damaged (%2). It is not used; no files were touched.</translation>
    </message>
    <message>
        <source>Переименование остановлено.</source>
        <translation>Renaming stopped.</translation>
    </message>
    <message>
        <source>Не удалось переименовать </source>
        <translation>Could not rename </translation>
    </message>
    <message>
        <source>. Недопустимое имя файла или файл занят другим приложением.</source>
        <translation>. The file name is invalid or the file is in use by another program.</translation>
    </message>
    <message>
        <source>. Файл с таким именем уже существует: </source>
        <translation>. A file with that name already exists: </translation>
    </message>
    <message>
        <source>Строка %1 (&quot;%2&quot;) не переименована: неизвестно, какой файл на диске она представляет. Строка добавлена вручную или прочитана из списка или таблицы, где имя файла записано неточно.</source>
        <translation>Row %1 (&quot;%2&quot;) was not renamed: it is not known which file on disk it stands for. The row was added by hand or read from a list file or spreadsheet that does not give the file name exactly.</translation>
    </message>
    <message>
        <source>. Недопустимое новое имя файла или файл с таким именем, как новое имя файла, уже существует. Или Файл занят другим приложением</source>
        <translation>. The new file name is invalid, or a file with the new name already exists, or the file is in use by another program</translation>
    </message>
    <message>
        <source>. Новое имя должно являться не пустой строкой.</source>
        <translation>. The new name must not be empty.</translation>
    </message>
    <message>
        <source>. Файл не переименован.</source>
        <translation>. The file was not renamed.</translation>
    </message>
    <message>
        <source>Переименовано %1 файла(ов)</source>
        <translation>Renamed %1 file(s)</translation>
    </message>
    <message>
        <source>Должен быть отмечен хотя бы один пункт из списка.</source>
        <translation>Tick at least one item in the list.</translation>
    </message>
    <message>
        <source>Недопустимое имя файла</source>
        <translation>Invalid file name</translation>
    </message>
    <message>
        <source>Новое имя должно являться не пустой строкой.</source>
        <translation>The new name must not be empty.</translation>
    </message>
    <message>
        <source>Файл с таким именем уже существует</source>
        <translation>A file with that name already exists</translation>
    </message>
    <message>
        <source>Это имя получает файл из строки %1</source>
        <translation>The file of row %1 gets this name</translation>
    </message>
    <message>
        <source>Папка файла указана не полным путём</source>
        <translation>The file&apos;s folder is not a full path</translation>
    </message>
    <message>
        <source>Неизвестно, какой файл на диске представляет строка</source>
        <translation>It is not known which file on disk the row stands for</translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Отмена переименований (журнал %1) была прервана, а журнал отменяемых переименований %2 не найден. Файлы не тронуты.</source>
        <translation>Undoing the renames (journal %1) was interrupted, and the journal of the renames being undone, %2, was not found. No files were touched.</translation>
    </message>
    <message>
        <source>%1: имя %2 занято другим файлом</source>
        <translation>%1: the name %2 is taken by another file</translation>
    </message>
    <message>
        <source>Не удалось отменить переименование %1 файла(ов):
</source>
        <translation>Could not undo the rename of %1 file(s):
</translation>
    </message>
    <message>
        <source>Отменено переименований: %1</source>
        <translation>Renames undone: %1</translation>
    </message>
    <message>
        <source>%1: файл заменен, изменен, перемещен или удален после переименования</source>
        <translation>%1: the file was replaced, changed, moved or deleted after the rename</translation>
    </message>
    <message>
        <source>Нет переименований, которые можно отменить.</source>
        <translation>There are no renames to undo.</translation>
    </message>
</context>
<context>
    <name>songwick::RenamePreviewWindow</name>
    <message>
        <source>Будет переименовано файлов: %1, не будет: %2</source>
        <translation>Files to rename: %1, not renamed: %2</translation>
    </message>
    <message>
        <source>Папка</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Было</source>
        <translation>Old name</translation>
    </message>
    <message>
        <source>Станет</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>Почему нет</source>
        <translation>Why not</translation>
    </message>
    <message>
        <source>Выполнить</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>songwick::Scan</name>
    <message>
        <source>Windows-1251 (кириллица)</source>
        <translation>Windows-1251 (Cyrillic)</translation>
    </message>
    <message>
        <source>Windows-1252 (западноевропейская)</source>
        <translation>Windows-1252 (Western European)</translation>
    </message>
    <message>
        <source>Строка %1: %2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>Не перечитаны отмеченные строки: %1.</source>
        <translation>Marked rows not reread: %1.</translation>
    </message>
    <message>
        <source>И ещё строк: %1.</source>
        <translation>And %1 more row(s).</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Строка %1 (&quot;%2&quot;): неизвестно, какой файл на диске она представляет.</source>
        <translation>Row %1 (&quot;%2&quot;): it is not known which file on disk it stands for.</translation>
    </message>
    <message>
        <source>Строка %1: файл &quot;%2&quot; лежит в папке, путь которой не абсолютный.</source>
        <translation>Row %1: the file &quot;%2&quot; is in a folder whose path is not absolute.</translation>
    </message>
    <message>
        <source>Ошибка!
<byte value="xd"/>В выбранной папке находится очень много файлов или очень большая глубина вложенных папок (в том числе пустых). Выберите одну из вложенных папок и повторите попытку! За более подробной информацией обращайтесь к Помощи….</source>
        <translation>Error!
<byte value="xd"/>The chosen folder holds a great many files or folders nested very deep (empty ones included). Choose one of the folders inside it and try again! See the Help for more….</translation>
    </message>
    <message>
        <source>Таблица заполнена: в неё помещается не более %1 файлов. Сканирование остановлено, найденные файлы сохранены в таблице.</source>
        <translation>The table is full: it holds no more than %1 files. The scan stopped; the files found are kept in the table.</translation>
    </message>
    <message>
        <source>В выбранной папке больше %1 вложенных папок. Сканирование остановлено, найденные файлы сохранены в таблице.</source>
        <translation>The chosen folder has more than %1 folders inside it. The scan stopped; the files found are kept in the table.</translation>
    </message>
    <message>
        <source>Не удалось прочитать файлов: %1. Первый из них: %2 (%3)</source>
        <translation>Files that could not be read: %1. The first of them: %2 (%3)</translation>
    </message>
    <message>
        <source>Не удалось прочитать папок: %1. Первая: %2 (%3)</source>
        <translation>Folders that could not be read: %1. The first: %2 (%3)</translation>
    </message>
</context>
<context>
    <name>songwick::Settings</name>
    <message>
        <source>нет доступа или нет места на устройстве</source>
        <translation>access denied or no space left on the device</translation>
    </message>
    <message>
        <source>содержимое файла не удалось разобрать</source>
        <translation>the file&apos;s contents could not be parsed</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Ошибка загрузки настроек</source>
        <translation>Error loading the settings</translation>
    </message>
</context>
<context>
    <name>songwick::SongbookOptionsWindow</name>
    <message>
        <source>Песенник в PDF</source>
        <translation>Songbook as PDF</translation>
    </message>
    <message>
        <source>Песенник</source>
        <translation>Songbook</translation>
    </message>
    <message>
        <source>&amp;Номера песен рядом с названиями</source>
        <translation>Song &amp;numbers beside the titles</translation>
    </message>
    <message>
        <source>&amp;Указатель песен по названию в конце</source>
        <translation>Song &amp;index by title at the end</translation>
    </message>
    <message>
        <source>&amp;Заголовок:</source>
        <translation>&amp;Title:</translation>
    </message>
    <message>
        <source>&amp;Бумага:</source>
        <translation>&amp;Paper:</translation>
    </message>
    <message>
        <source>&amp;Столбцов на странице:</source>
        <translation>&amp;Columns per page:</translation>
    </message>
    <message>
        <source>Сохранить PDF...</source>
        <translation>Save PDF...</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>songwick::SystemError</name>
    <message>
        <source>открыть файл</source>
        <translation>open the file</translation>
    </message>
    <message>
        <source>прочитать файл</source>
        <translation>read the file</translation>
    </message>
    <message>
        <source>записать файл</source>
        <translation>write the file</translation>
    </message>
    <message>
        <source>найти файл</source>
        <translation>find the file</translation>
    </message>
    <message>
        <source>прочитать папку</source>
        <translation>read the folder</translation>
    </message>
    <message>
        <source>создать папку</source>
        <translation>create the folder</translation>
    </message>
    <message>
        <source>создать папку журнала переименований</source>
        <translation>create the rename journal folder</translation>
    </message>
    <message>
        <source>создать журнал переименований</source>
        <translation>create the rename journal</translation>
    </message>
    <message>
        <source>записать журнал переименований</source>
        <translation>write the rename journal</translation>
    </message>
    <message>
        <source>Нет места на устройстве</source>
        <translation>No space left on the device</translation>
    </message>
    <message>
        <source>Превышена дисковая квота</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>Отказано в доступе</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Операция не позволена</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>Файловая система доступна только для чтения</source>
        <translation>The file system is read-only</translation>
    </message>
    <message>
        <source>Это каталог</source>
        <translation>It is a folder</translation>
    </message>
    <message>
        <source>Это не каталог</source>
        <translation>It is not a folder</translation>
    </message>
    <message>
        <source>Нет такого файла или каталога</source>
        <translation>No such file or folder</translation>
    </message>
    <message>
        <source>Файл с таким именем уже существует</source>
        <translation>A file with that name already exists</translation>
    </message>
    <message>
        <source>Каталог не пуст</source>
        <translation>The folder is not empty</translation>
    </message>
    <message>
        <source>Ошибка ввода/вывода</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>Файл слишком велик</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>Слишком длинное имя файла</source>
        <translation>The file name is too long</translation>
    </message>
    <message>
        <source>Слишком много уровней символьных ссылок</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>Устройство или ресурс занято</source>
        <translation>The device or resource is busy</translation>
    </message>
    <message>
        <source>Файл занят</source>
        <translation>The file is busy</translation>
    </message>
    <message>
        <source>Неверная ссылка между устройствами</source>
        <translation>Invalid link between devices</translation>
    </message>
    <message>
        <source>Невозможно выделить память</source>
        <translation>Cannot allocate memory</translation>
    </message>
    <message>
        <source>Слишком много открытых файлов</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>Недопустимый аргумент</source>
        <translation>Invalid argument</translation>
    </message>
    <message>
        <source>Нет такого устройства</source>
        <translation>No such device</translation>
    </message>
    <message>
        <source>Ресурс временно недоступен</source>
        <translation>The resource is temporarily unavailable</translation>
    </message>
    <message>
        <source>Устаревший дескриптор файла</source>
        <translation>Stale file handle</translation>
    </message>
    <message>
        <source>Не удалось %1 &quot;%2&quot;: %3</source>
        <translation>Could not %1 &quot;%2&quot;: %3</translation>
    </message>
</context>
<context>
    <name>songwick::TForm1</name>
    <message>
        <source>Файлы списка (Songwick)|*.swk|Все файлы|*.*</source>
        <translation>List files (Songwick)|*.swk|All files|*.*</translation>
    </message>
    <message>
        <source>Нажмите &quot;Начать&quot; и выберите папку с караоке-файлами. Программа просмотрит её и все вложенные папки и покажет каждый найденный файл одной строкой таблицы.</source>
        <translation>Click &quot;Start&quot; and pick a folder of karaoke files. The program scans it and every folder inside it and shows each file it finds as one row of a table.</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Начнем?</source>
        <translation>Shall we start?</translation>
    </message>
    <message>
        <source>Из России -- с любовью!</source>
        <translation>From Russia with love!</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Начать сканирование...</source>
        <translation>&amp;Start a scan...</translation>
    </message>
    <message>
        <source>&amp;Открыть файл списка...</source>
        <translation>&amp;Open a list file...</translation>
    </message>
    <message>
        <source>О&amp;ткрыть список в текстовом формате...</source>
        <translation>Open the list as &amp;text...</translation>
    </message>
    <message>
        <source>&amp;Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Сохранить список &amp;как...</source>
        <translation>Save the list &amp;as...</translation>
    </message>
    <message>
        <source>Сохранить в &amp;текстовом формате...</source>
        <translation>Sa&amp;ve as text...</translation>
    </message>
    <message>
        <source>Со&amp;хранить в Ms Word</source>
        <translation>Save to Ms &amp;Word</translation>
    </message>
    <message>
        <source>&amp;Экспорт</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Импорт из Файла Excel</source>
        <translation>&amp;Import from an Excel file</translation>
    </message>
    <message>
        <source>Переименовать файлы</source>
        <translation>Rename files</translation>
    </message>
    <message>
        <source>Из колонки названия файла</source>
        <translation>From the file name column</translation>
    </message>
    <message>
        <source>Сложное переименование...</source>
        <translation>Composite rename...</translation>
    </message>
    <message>
        <source>Изменить заголовки...</source>
        <translation>Change the headings...</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Параметры сканирования</source>
        <translation>Scan options</translation>
    </message>
    <message>
        <source>Общие настройки</source>
        <translation>General settings</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Информация</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Заставка</source>
        <translation>Splash screen</translation>
    </message>
    <message>
        <source>Помощь по программе</source>
        <translation>Program help</translation>
    </message>
    <message>
        <source>Ошибка!!!!</source>
        <translation>Error!!!!</translation>
    </message>
</context>
<context>
    <name>songwick::TForm10</name>
    <message>
        <source>Общие настройки</source>
        <translation>General settings</translation>
    </message>
    <message>
        <source>Общие</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Текстовый формат</source>
        <translation>Text format</translation>
    </message>
    <message>
        <source>Экспорт в Excel</source>
        <translation>Excel export</translation>
    </message>
    <message>
        <source>Сообщения об ошибках</source>
        <translation>Error messages</translation>
    </message>
    <message>
        <source>Сканирование</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>&amp;Восстановить значения по умолчанию</source>
        <translation>&amp;Restore the defaults</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ширина колонок таблицы</source>
        <translation>Table column width</translation>
    </message>
    <message>
        <source>Фиксированная ширина колонок (по умочанию)</source>
        <translation>Fixed column width (default)</translation>
    </message>
    <message>
        <source>Пользовательские настройки</source>
        <translation>Your own widths</translation>
    </message>
    <message>
        <source>По самой широкой строке в столбце</source>
        <translation>Fit the widest entry in the column</translation>
    </message>
    <message>
        <source>Всплывающие &amp;подсказки</source>
        <translation>Pop-up &amp;hints</translation>
    </message>
    <message>
        <source>&amp;Язык интерфейса:</source>
        <translation>Interface &amp;language:</translation>
    </message>
    <message>
        <source>Как в системе</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>Новый язык появится при следующем запуске программы.</source>
        <translation>The new language takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>Здесь можно настроить параметры вывода дополнительной информации в текстовом формате (когда Вы хотите Сохранить или просто посмотреть информацию из таблицы в текстовом формате)</source>
        <translation>Here you can set up the extra information added to the text format (when you save the table as text or just view it as text)</translation>
    </message>
    <message>
        <source>Настроить...</source>
        <translation>Set up...</translation>
    </message>
    <message>
        <source>&amp;Номера строк</source>
        <translation>Row &amp;numbers</translation>
    </message>
    <message>
        <source>Курсив</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Выделение цветом заголовков (текст)</source>
        <translation>Coloured headings (text)</translation>
    </message>
    <message>
        <source>Выделение цветом заголовков (границы)</source>
        <translation>Coloured headings (borders)</translation>
    </message>
    <message>
        <source>Выделение цветом заголовков (заливка)</source>
        <translation>Coloured headings (fill)</translation>
    </message>
    <message>
        <source>Выделение цветом Всей таблицы (текст)</source>
        <translation>Colour the Whole table (text)</translation>
    </message>
    <message>
        <source>Выделение цветом Всей таблицы (границы)</source>
        <translation>Colour the Whole table (borders)</translation>
    </message>
    <message>
        <source>&amp;Заливка всей таблицы цветом</source>
        <translation>&amp;Fill the whole table with colour</translation>
    </message>
    <message>
        <source>Какие границы рисовать</source>
        <translation>Borders to draw</translation>
    </message>
    <message>
        <source>Вертикальные</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>Горизонтальные</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>&amp;Ширина колонок по самой широкой строке</source>
        <translation>Column &amp;width fits the widest entry</translation>
    </message>
    <message>
        <source>Названия колонок</source>
        <translation>Column titles</translation>
    </message>
    <message>
        <source>Добавить дату и/или &amp;время</source>
        <translation>Add the date and/or &amp;time</translation>
    </message>
    <message>
        <source>Что будет добавлено</source>
        <translation>What to add</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Выбор из списка №1</source>
        <translation>Pick from list no. 1</translation>
    </message>
    <message>
        <source>Выбор из списка №2</source>
        <translation>Pick from list no. 2</translation>
    </message>
    <message>
        <source>Добавить следующую строку</source>
        <translation>Add this line</translation>
    </message>
    <message>
        <source>Сообщения об ошибках при переименовании файлов</source>
        <translation>Error messages when renaming files</translation>
    </message>
    <message>
        <source>Здесь Вы можите изменить параметры сканирования.</source>
        <translation>Here you can change the scan options.</translation>
    </message>
    <message>
        <source>Совет: если после изменения настроек работа программы стала Вас не устраивать, измените все как было или просто нажмите кнопку &lt;Восстановить значения по умолчанию&gt; -- все настройки (во всей программе) примут первоначальный вид.</source>
        <translation>Tip: if you do not like how the program works after changing the settings, change them back or just click &lt;Restore the defaults&gt; -- every setting (in the whole program) goes back to how it was at first.</translation>
    </message>
    <message>
        <source>Всем приветики!! Москва (Россия), Moscow (Russia)!!!  СУПЕР!!! Всех девушек с восьмым марта (с наступающем или прошедшем -- не знаю, какое сейчас у Вас число)!!! А написано это 05.03.2003г.  :-) !!!!</source>
        <translation>Hi everybody!! Moscow (Russia)!!!  SUPER!!! Happy Women&apos;s Day, the 8th of March, to all the girls (a coming or a belated one -- I don&apos;t know what date it is where you are)!!! And this was written on 05.03.2003  :-) !!!!</translation>
    </message>
</context>
<context>
    <name>songwick::TForm12</name>
    <message>
        <source>Сохранить изменения в таблице?</source>
        <translation>Save the changes to the table?</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Сохранить изменения?</source>
        <translation>Save changes?</translation>
    </message>
</context>
<context>
    <name>songwick::TForm3</name>
    <message>
        <source>Обработка большого количества файлов</source>
        <translation>Handle a large number of files</translation>
    </message>
    <message>
        <source>Запоминать прочитанные файлы (быстрое повторное сканирование)</source>
        <translation>Remember the files read (fast rescans)</translation>
    </message>
    <message>
        <source>Установка данного флажка увеличит время работы программы</source>
        <translation>Ticking this box makes the program take longer</translation>
    </message>
    <message>
        <source>Подробнее об использовании данной настройки Вы можете прочитать в Помощи</source>
        <translation>You can read more about this setting in the Help</translation>
    </message>
    <message>
        <source>Чтение описаний</source>
        <translation>Reading descriptions</translation>
    </message>
    <message>
        <source>По правилам программы</source>
        <translation>By the program&apos;s rules</translation>
    </message>
    <message>
        <source>По структуре MIDI-файла</source>
        <translation>By the MIDI file&apos;s structure</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Определять автоматически</source>
        <translation>Detect automatically</translation>
    </message>
    <message>
        <source>Шаблоны имён файлов, по одному в строке: «%1», «%2»</source>
        <translation>File name patterns, one per line: &quot;%1&quot;, &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Кодовая страница:</source>
        <translation>Code page:</translation>
    </message>
    <message>
        <source>Шаблоны имён файлов:</source>
        <translation>File name patterns:</translation>
    </message>
    <message>
        <source>Настройки сканирования</source>
        <translation>Scan options</translation>
    </message>
    <message>
        <source>Исполнитель</source>
        <translation>Performer</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Title</translation>
    </message>
</context>
<context>
    <name>songwick::TForm4</name>
    <message>
        <source>Файлы списка (Songwick)|*.swk|Все файлы|*.*</source>
        <translation>List files (Songwick)|*.swk|All files|*.*</translation>
    </message>
    <message>
        <source>Файлы списка (Songwick)|*.swk|</source>
        <translation>List files (Songwick)|*.swk|</translation>
    </message>
    <message>
        <source>Отметить все</source>
        <translation>Mark all</translation>
    </message>
    <message>
        <source>Отметить все файлы</source>
        <translation>Mark all the files</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Новое сканирование...</source>
        <translation>&amp;New scan...</translation>
    </message>
    <message>
        <source>&amp;Открыть файл списка...</source>
        <translation>&amp;Open a list file...</translation>
    </message>
    <message>
        <source>О&amp;ткрыть список в текстовом формате...</source>
        <translation>Open the list as &amp;text...</translation>
    </message>
    <message>
        <source>&amp;Сохранить список</source>
        <translation>&amp;Save the list</translation>
    </message>
    <message>
        <source>Сохранить список &amp;как...</source>
        <translation>Save the list &amp;as...</translation>
    </message>
    <message>
        <source>Сохранить в текстовом &amp;формате...</source>
        <translation>Sa&amp;ve as text...</translation>
    </message>
    <message>
        <source>Со&amp;хранить в Ms Word...</source>
        <translation>Save to Ms &amp;Word...</translation>
    </message>
    <message>
        <source>&amp;Печать из Ms Word (текст)</source>
        <translation>&amp;Print from Ms Word (text)</translation>
    </message>
    <message>
        <source>&amp;Экспорт в</source>
        <translation>&amp;Export to</translation>
    </message>
    <message>
        <source>Ms &amp;Excel</source>
        <translation>MS &amp;Excel</translation>
    </message>
    <message>
        <source>Текстовый &amp;файл</source>
        <translation>&amp;Text document</translation>
    </message>
    <message>
        <source>&amp;Импорт из файла MS Excel</source>
        <translation>&amp;Import from an MS Excel file</translation>
    </message>
    <message>
        <source>&amp;Переименовать файлы</source>
        <translation>&amp;Rename files</translation>
    </message>
    <message>
        <source>Из колонки &amp;названия файла</source>
        <translation>From the &amp;file name column</translation>
    </message>
    <message>
        <source>&amp;Сложное переименование...</source>
        <translation>&amp;Composite rename...</translation>
    </message>
    <message>
        <source>&amp;Отменить последнее переименование</source>
        <translation>&amp;Undo the last rename</translation>
    </message>
    <message>
        <source>Изменить заголовки...</source>
        <translation>Change the headers...</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Настройки</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Параметры &amp;сканирования</source>
        <translation>&amp;Scan options</translation>
    </message>
    <message>
        <source>&amp;Общие настройки</source>
        <translation>&amp;General settings</translation>
    </message>
    <message>
        <source>&amp;Таблица</source>
        <translation>&amp;Table</translation>
    </message>
    <message>
        <source>&amp;Добавить строку</source>
        <translation>&amp;Add a row</translation>
    </message>
    <message>
        <source>&amp;Перевести в текстовый формат</source>
        <translation>&amp;Convert to text</translation>
    </message>
    <message>
        <source>Пе&amp;речитать отмеченные строки по структуре файла</source>
        <translation>&amp;Reread marked rows by the file&apos;s structure</translation>
    </message>
    <message>
        <source>&amp;Помощь</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>&amp;Информация</source>
        <translation>&amp;Information</translation>
    </message>
    <message>
        <source>&amp;Заставка</source>
        <translation>&amp;Splash screen</translation>
    </message>
    <message>
        <source>Songwick &amp;Помощь</source>
        <translation>Songwick &amp;Help</translation>
    </message>
    <message>
        <source>&amp;Новое сканирование</source>
        <translation>&amp;New scan</translation>
    </message>
    <message>
        <source>Ошибка!!!!</source>
        <translation>Error!!!!</translation>
    </message>
    <message>
        <source>Сохранить изменения в таблице?</source>
        <translation>Save the changes to the table?</translation>
    </message>
    <message>
        <source>Документ PDF|*.pdf</source>
        <translation>PDF document|*.pdf</translation>
    </message>
    <message>
        <source>Найти:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>исполнитель, название, имя файла…</source>
        <translation>performer, title, file name…</translation>
    </message>
    <message>
        <source>только отмеченные</source>
        <translation>marked only</translation>
    </message>
    <message>
        <source>без названия</source>
        <translation>untitled</translation>
    </message>
    <message>
        <source>повторы</source>
        <translation>repeats</translation>
    </message>
    <message>
        <source>по названию</source>
        <translation>by title</translation>
    </message>
    <message>
        <source>по словам песни</source>
        <translation>by lyrics</translation>
    </message>
    <message>
        <source>Искать в описаниях файлов или в словах, которые поются в песнях</source>
        <translation>Search the files&apos; descriptions or the words sung in the songs</translation>
    </message>
    <message>
        <source>слова из песни; фраза — в кавычках</source>
        <translation>words from the song; a phrase in quotes</translation>
    </message>
    <message>
        <source>Указатель слов песен не удалось использовать как есть, поэтому он построен заново или до конца работы хранится только в памяти:
%1</source>
        <translation>The lyrics index could not be used as it was, so it was rebuilt or is kept in memory only until the program closes:
%1</translation>
    </message>
    <message>
        <source>Слова песен пока не известны для строк: %1 (файлы не найдены или не читаются); подробности — в подсказке.</source>
        <translation>The lyrics are not known yet for %1 row(s) (files not found or unreadable); details in the tooltip.</translation>
    </message>
    <message>
        <source>Наберите слова из песни в любом порядке; точную фразу — в кавычках.</source>
        <translation>Type words from the song in any order; an exact phrase in quotes.</translation>
    </message>
    <message>
        <source>&amp;Сортировать по столбцу</source>
        <translation>&amp;Sort by column</translation>
    </message>
    <message>
        <source>&amp;Найти повторы</source>
        <translation>&amp;Find repeats</translation>
    </message>
    <message>
        <source>&amp;Удалить отмеченные строки</source>
        <translation>&amp;Delete marked rows</translation>
    </message>
    <message>
        <source>Песенник в P&amp;DF...</source>
        <translation>Songbook as P&amp;DF...</translation>
    </message>
    <message>
        <source>Поиск повторов прерван</source>
        <translation>Repeats search interrupted</translation>
    </message>
    <message>
        <source>Удалить из таблицы отмеченные строки (%1)?</source>
        <translation>Delete the marked rows (%1) from the table?</translation>
    </message>
    <message>
        <source>Удалено из таблицы строк: %1</source>
        <translation>Rows deleted from the table: %1</translation>
    </message>
    <message>
        <source>песенник.pdf</source>
        <translation>songbook.pdf</translation>
    </message>
    <message>
        <source>Песенник в PDF: показанные строки (%1 из %2)</source>
        <translation>Songbook as PDF: the rows shown (%1 of %2)</translation>
    </message>
    <message>
        <source>Песенник в PDF: вся таблица (%1 строк)</source>
        <translation>Songbook as PDF: the whole table (%1 rows)</translation>
    </message>
</context>
<context>
    <name>songwick::TForm5</name>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Songwick&lt;/b&gt; -- программа для тех, у кого много караоке-файлов.&lt;/p&gt;&lt;p&gt;Укажите папку -- и программа просмотрит её и все вложенные папки, найдёт все kar-файлы и вынет из каждого исполнителя, название песни, авторов слов и музыки и того, кто сделал файл. Всё это она покажет в таблице, которую можно править, сохранять как список (*.swk), смотреть и печатать в текстовом формате, экспортировать в MS Excel (*.xlsx) и Ms Word (*.docx). А ещё по этой таблице можно дать файлам на диске нормальные, понятные имена.&lt;/p&gt;&lt;p&gt;В сами караоке-файлы программа никогда ничего не записывает, так что экспериментируйте смело!&lt;/p&gt;&lt;p&gt;Новые версии программы -- на странице выпусков проекта Songwick; описание проекта -- в его файле README.&lt;/p&gt;&lt;p&gt;Приятного пения!!! :-)&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Songwick&lt;/b&gt; -- a program for people with lots of karaoke files.&lt;/p&gt;&lt;p&gt;Pick a folder -- the program scans it and every folder inside it, finds every kar file and takes from each one the performer, the title, the lyricist, the composer and who made the file. It shows all of it in a table that you can edit, save as a list file (*.swk), view and print as text, and export to MS Excel (*.xlsx) and Ms Word (*.docx). And from this table you can give the files on disk proper, readable names.&lt;/p&gt;&lt;p&gt;The program never writes anything into the karaoke files themselves, so go ahead and experiment!&lt;/p&gt;&lt;p&gt;New versions of the program are on the releases page of the Songwick project; the project is described in its README file.&lt;/p&gt;&lt;p&gt;Happy singing!!! :-)&lt;/p&gt;</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Россия, Москва</source>
        <translation>Moscow, Russia</translation>
    </message>
    <message>
        <source>Версия 1.3</source>
        <translation>Version 1.3</translation>
    </message>
    <message>
        <source>Таблицы и документы открывает LibreOffice (*.xlsx, *.docx)</source>
        <translation>Spreadsheets and documents open in LibreOffice (*.xlsx, *.docx)</translation>
    </message>
    <message>
        <source>Время последнего выключения программы: </source>
        <translation>The program last ended: </translation>
    </message>
    <message>
        <source>Время работы программы: </source>
        <translation>Running for: </translation>
    </message>
</context>
<context>
    <name>songwick::TForm6</name>
    <message>
        <source>Сложное переименование всех файлов из таблицы</source>
        <translation>Composite rename of all the files in the table</translation>
    </message>
    <message>
        <source>Выберите из каких частей будут состоять новые названия Ваших файлов и в каком порядке они будут следовать</source>
        <translation>Choose the parts your new file names are made of and the order they come in</translation>
    </message>
    <message>
        <source>Наверх</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Переместить строку на один пункт вверх</source>
        <translation>Move the line up one place</translation>
    </message>
    <message>
        <source>Вниз</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Переместить строку на один пункт вниз</source>
        <translation>Move the line down one place</translation>
    </message>
    <message>
        <source>Что будет добавлено</source>
        <translation>What to add</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Дата и время</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Разделители</source>
        <translation>Separators</translation>
    </message>
    <message>
        <source>Какие файлы</source>
        <translation>Which files</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Только отмеченные (галочкой)</source>
        <translation>Only the marked ones (ticked)</translation>
    </message>
    <message>
        <source>Замечание: если имя файла в итоге получится больше 255 символов, все лишние символы будут отброшены. Так что не увлекайтесь уж очень сильно!!! :-)</source>
        <translation>Note: if a file name comes out longer than 255 characters, everything past that is dropped. So don&apos;t get too carried away!!! :-)</translation>
    </message>
    <message>
        <source>Показывать список переименований перед выполнением</source>
        <translation>Show the list of renames before renaming</translation>
    </message>
    <message>
        <source>&amp;Начать переименование</source>
        <translation>&amp;Start renaming</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>songwick::TForm8</name>
    <message>
        <source>Информация в текстовом виде</source>
        <translation>Information as text</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Открыть</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Со&amp;хранить в Word</source>
        <translation>Save to &amp;Word</translation>
    </message>
    <message>
        <source>&amp;Печать</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>Печать &amp;из Word</source>
        <translation>Print from W&amp;ord</translation>
    </message>
    <message>
        <source>&amp;Вернуться назад к таблице</source>
        <translation>&amp;Back to the table</translation>
    </message>
    <message>
        <source>&amp;Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Назад</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Копировать</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Всавить</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Вы&amp;резать</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>Выделить вс&amp;е</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>&amp;Настройки</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Вывода информации в &amp;текстовом виде</source>
        <translation>&amp;Text output</translation>
    </message>
    <message>
        <source>&amp;Вставить</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Текстовые файлы|*.txt|Все файлы|*.*</source>
        <translation>Text files|*.txt|All files|*.*</translation>
    </message>
    <message>
        <source>Текстовые файлы|*.txt|Текст RTF|*.rtf</source>
        <translation>Text files|*.txt|RTF text|*.rtf</translation>
    </message>
</context>
<context>
    <name>songwick::TForm9</name>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Добавить дату и время</source>
        <translation>Add the date and time</translation>
    </message>
    <message>
        <source>Добавить следующую надпись</source>
        <translation>Add this caption</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>songwick::THelp</name>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Выберите тему, по которой Вы хотели бы получить помощь:</source>
        <translation>Choose the topic you would like help on:</translation>
    </message>
    <message>
        <source>Уточните свой выбор:</source>
        <translation>Narrow down your choice:</translation>
    </message>
    <message>
        <source>Уточните свой вопрос в списке справа</source>
        <translation>Pick your question in the list on the right</translation>
    </message>
    <message>
        <source>Вопрос: </source>
        <translation>Question: </translation>
    </message>
    <message>
        <source>Ответ:</source>
        <translation>Answer:</translation>
    </message>
    <message>
        <source>Уточнение вопроса...</source>
        <translation>Narrowing down the question...</translation>
    </message>
</context>
<context>
    <name>songwick::TSplashForm</name>
    <message>
        <source>Заставка</source>
        <translation>Splash screen</translation>
    </message>
    <message>
        <source>Кликните, чтобы закрыть окно</source>
        <translation>Click to close the window</translation>
    </message>
</context>
<context>
    <name>songwick::TableTooltip</name>
    <message>
        <source>Чтобы ометить какой-то файл (строку), кликните два раза на нужной строке</source>
        <translation>To mark a file (a row), double-click its row</translation>
    </message>
    <message>
        <source>Огромнейший привет Вам из России!!!</source>
        <translation>The biggest hello to you from Russia!!!</translation>
    </message>
    <message>
        <source>Хелллоу!!!! Don&apos;t worry, be happy!</source>
        <translation>Hellllo!!!! Don&apos;t worry, be happy!</translation>
    </message>
</context>
<context>
    <name>songwick::TextView</name>
    <message>
        <source>Список kar файлов </source>
        <translation>Karaoke file list </translation>
    </message>
</context>
</TS>
