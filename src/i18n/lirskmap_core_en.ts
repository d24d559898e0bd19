<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>Catalogue</name>
    <message>
        <source>Карта Лирска</source>
        <translation>Map of Lirsk</translation>
    </message>
    <message>
        <source>Карты метро России</source>
        <translation>Metro maps of Russia</translation>
    </message>
    <message>
        <source>Карта Н.Челнов</source>
        <translation>Map of Naberezhnye Chelny</translation>
    </message>
    <message>
        <source>Метро</source>
        <translation>Metro</translation>
    </message>
    <message>
        <source>Карта лирского метро</source>
        <translation>Lirsk metro map</translation>
    </message>
    <message>
        <source>Автобусная</source>
        <translation>Bus</translation>
    </message>
    <message>
        <source>Автобусная карта</source>
        <translation>Bus map</translation>
    </message>
    <message>
        <source>Троллейбусная</source>
        <translation>Trolleybus</translation>
    </message>
    <message>
        <source>Троллейбусная карта</source>
        <translation>Trolleybus map</translation>
    </message>
    <message>
        <source>Трамвайная</source>
        <translation>Tram</translation>
    </message>
    <message>
        <source>Трамвайная карта</source>
        <translation>Tram map</translation>
    </message>
    <message>
        <source>Санкт-Петербург</source>
        <translation>Saint Petersburg</translation>
    </message>
    <message>
        <source>Карта метро Санкт-Петербурга</source>
        <translation>Saint Petersburg metro map</translation>
    </message>
    <message>
        <source>Лирск</source>
        <translation>Lirsk</translation>
    </message>
    <message>
        <source>Карта метро Лирск</source>
        <translation>Lirsk metro map</translation>
    </message>
    <message>
        <source>Москва</source>
        <translation>Moscow</translation>
    </message>
    <message>
        <source>Карта метро Москвы</source>
        <translation>Moscow metro map</translation>
    </message>
    <message>
        <source>Н.Новгород</source>
        <translation>Nizhny Novgorod</translation>
    </message>
    <message>
        <source>Новосибирск</source>
        <translation>Novosibirsk</translation>
    </message>
    <message>
        <source>Екатеринбург</source>
        <translation>Yekaterinburg</translation>
    </message>
    <message>
        <source>Карта метро Екатеринбурга</source>
        <translation>Yekaterinburg metro map</translation>
    </message>
    <message>
        <source>Самара</source>
        <translation>Samara</translation>
    </message>
    <message>
        <source>Карта метро Самара</source>
        <translation>Samara metro map</translation>
    </message>
    <message>
        <source>Трамвайная карта Набережных Челнов</source>
        <translation>Naberezhnye Chelny tram map</translation>
    </message>
</context>
<context>
    <name>GtfsImport</name>
    <message>
        <source>ошибок нет</source>
        <translation>no error</translation>
    </message>
    <message>
        <source>многотомные архивы не поддерживаются</source>
        <translation>multi-disk archives are not supported</translation>
    </message>
    <message>
        <source>не удалось переименовать временный файл</source>
        <translation>the temporary file could not be renamed</translation>
    </message>
    <message>
        <source>ошибка закрытия архива</source>
        <translation>error closing the archive</translation>
    </message>
    <message>
        <source>ошибка перемещения по файлу</source>
        <translation>seek error</translation>
    </message>
    <message>
        <source>ошибка чтения</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>контрольная сумма не сходится</source>
        <translation>checksum mismatch</translation>
    </message>
    <message>
        <source>архив уже закрыт</source>
        <translation>the archive is already closed</translation>
    </message>
    <message>
        <source>нет такого файла</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>файл уже есть</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>не удалось открыть файл</source>
        <translation>the file could not be opened</translation>
    </message>
    <message>
        <source>не удалось создать временный файл</source>
        <translation>the temporary file could not be created</translation>
    </message>
    <message>
        <source>ошибка распаковки</source>
        <translation>decompression error</translation>
    </message>
    <message>
        <source>не хватило памяти</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>файл изменился</source>
        <translation>the file has changed</translation>
    </message>
    <message>
        <source>способ сжатия не поддерживается</source>
        <translation>compression method not supported</translation>
    </message>
    <message>
        <source>файл оборвался раньше конца</source>
        <translation>the file ends too early</translation>
    </message>
    <message>
        <source>недопустимый аргумент</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>не архив zip</source>
        <translation>not a zip archive</translation>
    </message>
    <message>
        <source>внутренняя ошибка</source>
        <translation>internal error</translation>
    </message>
    <message>
        <source>архив противоречив</source>
        <translation>the archive is inconsistent</translation>
    </message>
    <message>
        <source>не удалось удалить файл</source>
        <translation>the file could not be removed</translation>
    </message>
    <message>
        <source>запись удалена</source>
        <translation>the entry has been deleted</translation>
    </message>
    <message>
        <source>способ шифрования не поддерживается</source>
        <translation>encryption method not supported</translation>
    </message>
    <message>
        <source>архив только для чтения</source>
        <translation>the archive is read-only</translation>
    </message>
    <message>
        <source>архив зашифрован, а пароля нет</source>
        <translation>the archive is encrypted and no password is given</translation>
    </message>
    <message>
        <source>пароль неверен</source>
        <translation>wrong password</translation>
    </message>
    <message>
        <source>действие не поддерживается</source>
        <translation>operation not supported</translation>
    </message>
    <message>
        <source>ресурс занят</source>
        <translation>resource busy</translation>
    </message>
    <message>
        <source>ошибка определения позиции в файле</source>
        <translation>error telling the position in the file</translation>
    </message>
    <message>
        <source>сжатые данные испорчены</source>
        <translation>the compressed data are corrupt</translation>
    </message>
    <message>
        <source>расписание</source>
        <translation>timetable</translation>
    </message>
    <message>
        <source>карта вышла в %1 МБ, а читаются карты до %2 МБ: сузьте выбор ключами --routes, --route-types или --agency</source>
        <translation>the map came to %1 MB, but maps of up to %2 MB are read: narrow the choice with --routes, --route-types or --agency</translation>
    </message>
    <message>
        <source>схема: %1 из %2 перегонов не по восьми направлениям, новых пересечений %3</source>
        <translation>schematic: %1 of %2 links off the eight directions, %3 new crossings</translation>
    </message>
    <message>
        <source>карта показана по географии: схема искажает её топологию, она доступна в меню «Вид» → «Схема»</source>
        <translation>the map is shown by its geography: the schematic distorts its topology; it is available in “View” → “Schematic”</translation>
    </message>
    <message>
        <source>расписание не записано: %1</source>
        <translation>no timetable written: %1</translation>
    </message>
    <message>
        <source>ошибка чтения: %1</source>
        <translation>read error: %1</translation>
    </message>
    <message>
        <source>запись длиннее %1 байт</source>
        <translation>a record longer than %1 bytes</translation>
    </message>
    <message>
        <source>в записи больше %1 полей</source>
        <translation>a record of more than %1 fields</translation>
    </message>
    <message>
        <source>кавычка не закрыта до конца файла</source>
        <translation>a quote left open to the end of the file</translation>
    </message>
    <message>
        <source>после закрывающей кавычки не запятая</source>
        <translation>no comma after a closing quote</translation>
    </message>
    <message>
        <source>файл пуст, нет даже заголовка</source>
        <translation>the file is empty, without even a header</translation>
    </message>
    <message>
        <source>нет столбца %1</source>
        <translation>no column %1</translation>
    </message>
    <message>
        <source>%1: строка %2: %3</source>
        <translation>%1: line %2: %3</translation>
    </message>
    <message>
        <source>%1 пусто</source>
        <translation>%1 is empty</translation>
    </message>
    <message>
        <source>%1 — не число: «%2»</source>
        <translation>%1 is not a number: “%2”</translation>
    </message>
    <message>
        <source>%1 — не целое число от %2 до %3: «%4»</source>
        <translation>%1 is not a whole number from %2 to %3: “%4”</translation>
    </message>
    <message>
        <source>координаты вне земного шара</source>
        <translation>coordinates off the globe</translation>
    </message>
    <message>
        <source>%1 — не время Ч:ММ:СС: «%2»</source>
        <translation>%1 is not a time H:MM:SS: “%2”</translation>
    </message>
    <message>
        <source>%1 — 72 часа и больше: «%2»</source>
        <translation>%1 is 72 hours or more: “%2”</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>this is a folder, not a file</translation>
    </message>
    <message>
        <source>это канал (FIFO), а не файл</source>
        <translation>this is a pipe (FIFO), not a file</translation>
    </message>
    <message>
        <source>это устройство, а не файл</source>
        <translation>this is a device, not a file</translation>
    </message>
    <message>
        <source>это сокет, а не файл</source>
        <translation>this is a socket, not a file</translation>
    </message>
    <message>
        <source>ошибка архива %1</source>
        <translation>archive error %1</translation>
    </message>
    <message>
        <source>распаковывается больше объявленных %1 байт</source>
        <translation>inflates to more than the %1 bytes declared</translation>
    </message>
    <message>
        <source>нет в архиве</source>
        <translation>not in the archive</translation>
    </message>
    <message>
        <source>в архиве объявлен размером больше %1 ГиБ</source>
        <translation>declared in the archive as larger than %1 GiB</translation>
    </message>
    <message>
        <source>нет такого файла или папки</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>не архив zip: %1</source>
        <translation>not a zip archive: %1</translation>
    </message>
    <message>
        <source>%1: нет такого файла в источнике</source>
        <translation>%1: no such file in the feed</translation>
    </message>
    <message>
        <source>рейсы</source>
        <translation>trips</translation>
    </message>
    <message>
        <source>stop_times.txt: выбранные рейсы не заходят ни на одну остановку</source>
        <translation>stop_times.txt: the trips chosen call at no stop</translation>
    </message>
    <message>
        <source>маршруты</source>
        <translation>routes</translation>
    </message>
    <message>
        <source>route_id «%1» уже был</source>
        <translation>route_id “%1” given twice</translation>
    </message>
    <message>
        <source>выбору не отвечает ни один маршрут</source>
        <translation>no route matches the choice</translation>
    </message>
    <message>
        <source>trip_id «%1» уже был</source>
        <translation>trip_id “%1” given twice</translation>
    </message>
    <message>
        <source>у выбранных маршрутов нет ни одного рейса</source>
        <translation>the routes chosen have no trips</translation>
    </message>
    <message>
        <source>stop_id «%1» уже был</source>
        <translation>stop_id “%1” given twice</translation>
    </message>
    <message>
        <source>нет остановки «%1» в stops.txt</source>
        <translation>no stop “%1” in stops.txt</translation>
    </message>
    <message>
        <source>у остановки «%1» нет координат</source>
        <translation>stop “%1” has no coordinates</translation>
    </message>
    <message>
        <source>импорт прерван</source>
        <translation>import cancelled</translation>
    </message>
    <message>
        <source>импорту нужно больше памяти, чем ему отведено: %1 МБ</source>
        <translation>the import needs more memory than it is given: %1 MB</translation>
    </message>
    <message>
        <source>не хватило памяти (импорту отведено %1 МБ)</source>
        <translation>out of memory (the import is given %1 MB)</translation>
    </message>
    <message>
        <source>сеть протянулась на %1 км, а путь длиннее 262 136 м поиск считает недостижимым: сузьте выбор ключами --routes, --route-types или --agency</source>
        <translation>the network spans %1 km, and the search takes a way longer than 262 136 m as unreachable: narrow the choice with --routes, --route-types or --agency</translation>
    </message>
    <message>
        <source>Остановка %1</source>
        <translation>Stop %1</translation>
    </message>
    <message>
        <source>пеших переходов так много, что описание карты не перечисляет их: отчёт считает их поездками</source>
        <translation>there are so many walks that the map description does not list them: the report counts them as rides</translation>
    </message>
    <message>
        <source>маршрутов так много, что описание карты превысило бы %1 МБ: в него вошли %2 маршрутов из %3, без названий</source>
        <translation>there are so many routes that the map description would exceed %1 MB: it holds %2 routes of %3, without names</translation>
    </message>
    <message>
        <source>маршруты перегонов не вошли в описание карты: оно превысило бы %1 МБ</source>
        <translation>the routes of the links are left out of the map description: it would exceed %1 MB</translation>
    </message>
    <message>
        <source>места названий не вошли в описание карты: оно превысило бы %1 МБ</source>
        <translation>the places of the names are left out of the map description: it would exceed %1 MB</translation>
    </message>
    <message>
        <source>цен в fare_attributes.txt вне 0…10⁹, оставленных без внимания: %1</source>
        <translation>prices in fare_attributes.txt outside 0…10⁹, ignored: %1</translation>
    </message>
    <message>
        <source>стоимость проезда вне 0…10⁹ не задана</source>
        <translation>a fare outside 0…10⁹ is not set</translation>
    </message>
    <message>
        <source>остановки</source>
        <translation>stops</translation>
    </message>
    <message>
        <source>названия</source>
        <translation>names</translation>
    </message>
    <message>
        <source>перегоны</source>
        <translation>links</translation>
    </message>
    <message>
        <source>пешие переходы</source>
        <translation>walks</translation>
    </message>
    <message>
        <source>карта</source>
        <translation>map</translation>
    </message>
    <message>
        <source>названий с буквами вне Windows-1251, записанных латиницей: %1</source>
        <translation>names with letters outside Windows-1251, written in Latin letters: %1</translation>
    </message>
    <message>
        <source>в источнике нет тарифов (fare_attributes.txt): стоимость проезда не указана, задайте её ключом --fare</source>
        <translation>the feed has no fares (fare_attributes.txt): the fare is not given; set it with --fare</translation>
    </message>
    <message>
        <source>в источнике нет тарифов (fare_attributes.txt): стоимость проезда не указана, задайте её в «Сервис» → «Описание карты…» (в режиме редактора)</source>
        <translation>the feed has no fares (fare_attributes.txt): the fare is not given; set it in Tools → Map Description… (in the editor mode)</translation>
    </message>
    <message>
        <source>названий так много, что описание карты не хранит их в написании источника: карта показывает их латиницей</source>
        <translation>there are so many names that the map&apos;s description does not keep them as the feed writes them: the map shows them in Latin letters</translation>
    </message>
</context>
<context>
    <name>MapDescription</name>
    <message>
        <source>ожидается строка</source>
        <translation>a string is expected</translation>
    </message>
    <message>
        <source>ожидается число от 0 до миллиарда</source>
        <translation>a number from 0 to a billion is expected</translation>
    </message>
    <message>
        <source>ожидается список объектов</source>
        <translation>a list of objects is expected</translation>
    </message>
    <message>
        <source>ожидается список {from, to, routes} целых чисел</source>
        <translation>a list of {from, to, routes} of whole numbers is expected</translation>
    </message>
    <message>
        <source>ожидается список троек целых чисел</source>
        <translation>a list of triples of whole numbers is expected</translation>
    </message>
    <message>
        <source>ожидается {shown, geographic, schematic} со списками троек целых чисел</source>
        <translation>{shown, geographic, schematic} with lists of triples of whole numbers is expected</translation>
    </message>
    <message>
        <source>ожидаются пары номеров остановок «1-2» через пробел</source>
        <translation>pairs of stop ids “1-2” separated by spaces are expected</translation>
    </message>
    <message>
        <source>ожидается целое число от 1</source>
        <translation>a whole number from 1 is expected</translation>
    </message>
    <message>
        <source>ожидается целое от 2 до 500</source>
        <translation>a whole number from 2 to 500 is expected</translation>
    </message>
    <message>
        <source>маршрут %1: цвет не вида #RRGGBB</source>
        <translation>route %1: the colour is not #RRGGBB</translation>
    </message>
    <message>
        <source>map_code: ожидается одна буква</source>
        <translation>map_code: one letter is expected</translation>
    </message>
    <message>
        <source>JSON: %1 (байт %2)</source>
        <translation>JSON: %1 (byte %2)</translation>
    </message>
    <message>
        <source>ожидается объект JSON</source>
        <translation>a JSON object is expected</translation>
    </message>
    <message>
        <source>ожидается список [номер, название, название в файле карты]</source>
        <translation>a list [id, name, name in the map file] is expected</translation>
    </message>
    <message>
        <source>ожидается целое от 0 до 4</source>
        <translation>a whole number from 0 to 4 is expected</translation>
    </message>
</context>
<context>
    <name>MapFile</name>
    <message>
        <source>файл кончается внутри длины строки «%1» (байт %2)</source>
        <translation>the file ends inside the length of the string “%1” (byte %2)</translation>
    </message>
    <message>
        <source>строка «%1» в байте %2 имеет отрицательную длину (%3)</source>
        <translation>the string “%1” at byte %2 has a negative length (%3)</translation>
    </message>
    <message>
        <source>строка «%1» в байте %2 длиной %3 байт, а за ней только %4 байт</source>
        <translation>the string “%1” at byte %2 is %3 bytes long, but only %4 bytes follow</translation>
    </message>
    <message>
        <source>в файле %1 байт, меньше заголовка в %2 байт</source>
        <translation>the file has %1 bytes, less than the header of %2 bytes</translation>
    </message>
    <message>
        <source>заголовок объявляет %1 остановок, больше, чем вмещают %2 байт после него</source>
        <translation>the header declares %1 stops, more than the %2 bytes after it can hold</translation>
    </message>
    <message>
        <source>файл кончается внутри записи остановки %1 (байт %2)</source>
        <translation>the file ends inside the record of stop %1 (byte %2)</translation>
    </message>
    <message>
        <source>шрифт остановки</source>
        <translation>stop font</translation>
    </message>
    <message>
        <source>название</source>
        <translation>name</translation>
    </message>
    <message>
        <source>маршруты</source>
        <translation>routes</translation>
    </message>
    <message>
        <source>шрифт названия</source>
        <translation>name font</translation>
    </message>
    <message>
        <source>файл кончается %1 байтами, частью записи связи</source>
        <translation>the file ends with %1 bytes, part of a link record</translation>
    </message>
    <message>
        <source>запись связи в байте %1 ссылается на Id %2, которого нет ни у одной остановки</source>
        <translation>the link record at byte %1 refers to Id %2, which no stop has</translation>
    </message>
    <message>
        <source>Остановка %1 («%2»): %3 содержит символы, которых нет в кодировке Windows-1251</source>
        <translation>Stop %1 (“%2”): the %3 holds characters that Windows-1251 does not have</translation>
    </message>
    <message>
        <source>имя шрифта остановки</source>
        <translation>stop font name</translation>
    </message>
    <message>
        <source>список маршрутов</source>
        <translation>route list</translation>
    </message>
    <message>
        <source>имя шрифта названия</source>
        <translation>name font name</translation>
    </message>
    <message>
        <source>файл укорачивается во время чтения</source>
        <translation>the file shrinks while it is read</translation>
    </message>
</context>
<context>
    <name>MapJson</name>
    <message>
        <source>true или false</source>
        <translation>true or false</translation>
    </message>
    <message>
        <source>строка</source>
        <translation>a string</translation>
    </message>
    <message>
        <source>число</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>объект</source>
        <translation>an object</translation>
    </message>
    <message>
        <source>массив</source>
        <translation>an array</translation>
    </message>
    <message>
        <source>%1: ключ обязателен</source>
        <translation>%1: the key is required</translation>
    </message>
    <message>
        <source>целое число</source>
        <translation>a whole number</translation>
    </message>
    <message>
        <source>%1: ожидается %2</source>
        <translation>%1: %2 is expected</translation>
    </message>
    <message>
        <source>JSON: %1 (байт %2)</source>
        <translation>JSON: %1 (byte %2)</translation>
    </message>
    <message>
        <source>JSON: ожидается объект карты</source>
        <translation>JSON: a map object is expected</translation>
    </message>
    <message>
        <source>map.stops[%1]: ожидается объект</source>
        <translation>map.stops[%1]: an object is expected</translation>
    </message>
    <message>
        <source>%1: нет остановки с Id %2</source>
        <translation>%1: no stop has Id %2</translation>
    </message>
</context>
<context>
    <name>RouteReport</name>
    <message>
        <source><byte value="xd"/>от ост. %1 до ост. %2<byte value="xd"/></source>
        <translation><byte value="xd"/>from %1 to %2<byte value="xd"/></translation>
    </message>
    <message>
        <source><byte value="xd"/>пешком от ост. %1 до ост. %2, %3 мин.<byte value="xd"/></source>
        <translation><byte value="xd"/>on foot from %1 to %2, %3 min<byte value="xd"/></translation>
    </message>
    <message>
        <source>%1 км.</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>%1 мин.</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 руб.</source>
        <translation>%1 roubles</translation>
    </message>
    <message>
        <source><byte value="xd"/>пешком от ост. %1 до ост. %2, %3 мин.<byte value="xd"/>%4</source>
        <translation><byte value="xd"/>on foot from %1 to %2, %3 min<byte value="xd"/>%4</translation>
    </message>
    <message>
        <source>№ %1 «%2», %3</source>
        <translation>№ %1 “%2”, %3</translation>
    </message>
    <message>
        <source>стоимость не указана</source>
        <translation>fare not given</translation>
    </message>
</context>
<context>
    <name>RouteSearch</name>
    <message>
        <source>Путь не найден: на карте есть дороги с отрицательным или неопределённым временем в пути.</source>
        <translation>No way found: the map has roads with a negative or undefined travel time.</translation>
    </message>
    <message>
        <source>Самый быстрый путь не найти: у дорог карты не задано время в пути.</source>
        <translation>The fastest way cannot be found: the roads of the map have no travel time.</translation>
    </message>
    <message>
        <source>Пути нет</source>
        <translation>No way</translation>
    </message>
    <message>
        <source>Путь не найден: до конечной остановки не доехать</source>
        <translation>No way found: the finish cannot be reached</translation>
    </message>
    <message>
        <source>Путь не найден: на карте есть дороги с отрицательной длиной, и путь замыкается сам на себя.</source>
        <translation>No way found: the map has roads of negative length, and the way loops back on itself.</translation>
    </message>
    <message>
        <source>Путь не найден: на карте есть дороги с отрицательной длиной, и кратчайший путь не определён.</source>
        <translation>No way found: the map has roads of negative length, and the shortest way is undefined.</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>это символическая ссылка: через неё не пишется</source>
        <translation>this is a symbolic link: nothing is written through it</translation>
    </message>
    <message>
        <source>это не обычный файл, а устройство, канал, сокет или папка</source>
        <translation>this is not a regular file but a device, pipe, socket or folder</translation>
    </message>
    <message>
        <source>на диске нет места</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>превышена квота на диске</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>файл больше, чем разрешено записать</source>
        <translation>the file is larger than may be written</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>диск только для чтения</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>файл размером %1 байт больше предела в %2 байт</source>
        <translation>the file of %1 bytes is larger than the limit of %2 bytes</translation>
    </message>
    <message>
        <source>файл растёт во время чтения</source>
        <translation>the file grows while it is read</translation>
    </message>
    <message>
        <source>%1: записать туда нельзя</source>
        <translation>%1: it cannot be written to</translation>
    </message>
</context>
<context>
    <name>Schematic</name>
    <message>
        <source>схема строится для сетей метро, трамвая и железной дороги, до %1 станций, а на этой карте их %2</source>
        <translation>a schematic is made for metro, tram and rail networks of up to %1 stations, and this map has %2</translation>
    </message>
</context>
<context>
    <name>Timetable</name>
    <message>
        <source>это не обычный файл, а устройство, канал, сокет или папка</source>
        <translation>this is not a regular file but a device, pipe, socket or folder</translation>
    </message>
    <message>
        <source>файл размером %1 байт больше предела в %2 байт</source>
        <translation>the file of %1 bytes is larger than the limit of %2 bytes</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные станции</source>
        <translation>the timetable file is damaged: wrong stations</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные переходы</source>
        <translation>the timetable file is damaged: wrong walks</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные перегоны</source>
        <translation>the timetable file is damaged: wrong links</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные маршруты</source>
        <translation>the timetable file is damaged: wrong routes</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные рейсы</source>
        <translation>the timetable file is damaged: wrong trips</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные остановки маршрутов</source>
        <translation>the timetable file is damaged: wrong route stops</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные шаблоны маршрутов</source>
        <translation>the timetable file is damaged: wrong route patterns</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные времена</source>
        <translation>the timetable file is damaged: wrong times</translation>
    </message>
    <message>
        <source>файл пуст, нет даже заголовка</source>
        <translation>the file is empty, without even a header</translation>
    </message>
    <message>
        <source>нет столбца %1</source>
        <translation>no column %1</translation>
    </message>
    <message>
        <source>построение расписания прервано</source>
        <translation>building the timetable was cancelled</translation>
    </message>
    <message>
        <source>%1: строка %2: %3</source>
        <translation>%1: line %2: %3</translation>
    </message>
    <message>
        <source>%1 пусто</source>
        <translation>%1 is empty</translation>
    </message>
    <message>
        <source>%1 — не целое число от %2 до %3: «%4»</source>
        <translation>%1 is not a whole number from %2 to %3: “%4”</translation>
    </message>
    <message>
        <source>%1 — не число: «%2»</source>
        <translation>%1 is not a number: “%2”</translation>
    </message>
    <message>
        <source>%1 — не время Ч:ММ:СС: «%2»</source>
        <translation>%1 is not a time H:MM:SS: “%2”</translation>
    </message>
    <message>
        <source>%1 — 72 часа или больше от начала дня: «%2»</source>
        <translation>%1 is 72 hours or more from the start of the day: “%2”</translation>
    </message>
    <message>
        <source>%1 — не дата ГГГГММДД: «%2»</source>
        <translation>%1 is not a date YYYYMMDD: “%2”</translation>
    </message>
    <message>
        <source>это не файл расписания</source>
        <translation>this is not a timetable file</translation>
    </message>
    <message>
        <source>расписание записано более новой версией программы</source>
        <translation>the timetable was written by a newer version of the program</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверный заголовок</source>
        <translation>the timetable file is damaged: wrong header</translation>
    </message>
    <message>
        <source>файл расписания повреждён: контрольная сумма не сходится</source>
        <translation>the timetable file is damaged: checksum mismatch</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверная таблица разделов</source>
        <translation>the timetable file is damaged: wrong section table</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверный период</source>
        <translation>the timetable file is damaged: wrong period</translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные строки</source>
        <translation>the timetable file is damaged: wrong strings</translation>
    </message>
    <message>
        <source>неизвестный часовой пояс расписания</source>
        <translation>unknown time zone of the timetable</translation>
    </message>
    <message>
        <source>на карте нет остановки %1 (%2)</source>
        <translation>the map has no stop %1 (%2)</translation>
    </message>
    <message>
        <source>остановка %1 (%2) сдвинута</source>
        <translation>stop %1 (%2) has moved</translation>
    </message>
    <message>
        <source>расписание</source>
        <translation>timetable</translation>
    </message>
    <message>
        <source>на карте нет остановки для станции «%1» (stop_id %2): карта сделана не из этого источника или не с этим выбором маршрутов</source>
        <translation>the map has no stop for the station “%1” (stop_id %2): the map was not made from this feed or not with this choice of routes</translation>
    </message>
    <message>
        <source>stop_times.txt: выбранные рейсы не заходят ни на одну остановку</source>
        <translation>stop_times.txt: the trips chosen call at no stop</translation>
    </message>
    <message>
        <source>calendar.txt: ни один выбранный рейс не ходит ни в один день</source>
        <translation>calendar.txt: none of the trips chosen runs on any day</translation>
    </message>
    <message>
        <source>период расписания длиннее %1 дней: взяты первые %1</source>
        <translation>the timetable period is longer than %1 days: the first %1 are taken</translation>
    </message>
    <message>
        <source>рейсов без дней движения в calendar.txt и calendar_dates.txt: %1</source>
        <translation>trips without service days in calendar.txt and calendar_dates.txt: %1</translation>
    </message>
    <message>
        <source>рейсов без времени на первой или последней остановке, с временами, идущими назад, или с повторённым stop_sequence, оставлено без внимания: %1</source>
        <translation>trips without a time at the first or last stop, with times going backwards or with a repeated stop_sequence, ignored: %1</translation>
    </message>
    <message>
        <source>frequencies.txt: рейс «%1» доходит до 72 часов от начала дня</source>
        <translation>frequencies.txt: trip “%1” reaches 72 hours from the start of the day</translation>
    </message>
    <message>
        <source>%1: нет такого файла в источнике</source>
        <translation>%1: no such file in the feed</translation>
    </message>
    <message>
        <source>calendar.txt: нет ни его, ни calendar_dates.txt: дни движения неизвестны</source>
        <translation>calendar.txt: neither it nor calendar_dates.txt is there: the service days are unknown</translation>
    </message>
    <message>
        <source>неизвестный часовой пояс «%1»</source>
        <translation>unknown time zone “%1”</translation>
    </message>
    <message>
        <source>agency.txt: нет ни одного перевозчика, часовой пояс неизвестен</source>
        <translation>agency.txt: no agency, the time zone is unknown</translation>
    </message>
    <message>
        <source>route_id «%1» уже был</source>
        <translation>route_id “%1” given twice</translation>
    </message>
    <message>
        <source>trip_id «%1» уже был</source>
        <translation>trip_id “%1” given twice</translation>
    </message>
    <message>
        <source>координаты вне земного шара</source>
        <translation>coordinates off the globe</translation>
    </message>
    <message>
        <source>stop_id «%1» уже был</source>
        <translation>stop_id “%1” given twice</translation>
    </message>
    <message>
        <source>нет остановки «%1» в stops.txt</source>
        <translation>no stop “%1” in stops.txt</translation>
    </message>
    <message>
        <source>у остановки «%1» нет координат</source>
        <translation>stop “%1” has no coordinates</translation>
    </message>
    <message>
        <source>start_time и end_time нужны оба</source>
        <translation>start_time and end_time are both needed</translation>
    </message>
</context>
<context>
    <name>gaftool</name>
    <message>
        <source>время «%1» не в виде «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»</source>
        <translation>time “%1” is not “YYYY-MM-DD HH:MM” or “HH:MM”</translation>
    </message>
    <message>
        <source>%1 вне периода расписания %2 — %3</source>
        <translation>%1 is outside the timetable period %2 – %3</translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 мин.</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Пути нет</source>
        <translation>No way</translation>
    </message>
    <message>
        <source>Отправление %1, прибытие %2, в пути %3, поездок: %4</source>
        <translation>Departure %1, arrival %2, travel time %3, rides: %4</translation>
    </message>
    <message>
        <source>  ожидание %1</source>
        <translation>  wait %1</translation>
    </message>
    <message>
        <source>  %1 пешком от %2 до %3, %4</source>
        <translation>  %1 on foot from %2 to %3, %4</translation>
    </message>
    <message>
        <source>  %1 маршрут %2 «%3»: от %4 до %5, остановок: %6</source>
        <translation>  %1 route %2 “%3”: from %4 to %5, stops: %6</translation>
    </message>
    <message>
        <source>начало и конец пути — одна и та же остановка</source>
        <translation>the start and the finish are the same stop</translation>
    </message>
    <message>
        <source>ожидается «FROM&lt;TAB&gt;TO&lt;TAB&gt;DEPART»</source>
        <translation>“FROM&lt;TAB&gt;TO&lt;TAB&gt;DEPART” is expected</translation>
    </message>
    <message>
        <source>на карте %1 остановок, а в источнике %2 станций</source>
        <translation>the map has %1 stops, and the feed %2 stations</translation>
    </message>
    <message>
        <source>остановка %1 карты называется «%2», а станция источника — «%3»</source>
        <translation>stop %1 of the map is named “%2”, and the station of the feed “%3”</translation>
    </message>
    <message>
        <source>%1…</source>
        <translation>%1…</translation>
    </message>
    <message>
        <source>карта сделана не из этого источника или не с этим выбором маршрутов: %1</source>
        <translation>the map was not made from this feed or not with this choice of routes: %1</translation>
    </message>
    <message>
        <source>%1: %2 рейсов, %3 времён остановок, %4 станций</source>
        <translation>%1: %2 trips, %3 stop times, %4 stations</translation>
    </message>
    <message>
        <source>расписание %1: %2</source>
        <translation>timetable %1: %2</translation>
    </message>
    <message>
        <source>период: %1 — %2, %3 дн., часовой пояс %4</source>
        <translation>period: %1 – %2, %3 days, time zone %4</translation>
    </message>
    <message>
        <source>рейсов: %1, времён остановок: %2, станций: %3, переходов пешком: %4</source>
        <translation>trips: %1, stop times: %2, stations: %3, walks: %4</translation>
    </message>
    <message>
        <source>маршрутов: %1, шаблонов маршрутов: %2, наборов дней движения: %3</source>
        <translation>routes: %1, route patterns: %2, sets of service days: %3</translation>
    </message>
    <message>
        <source>карта соответствует расписанию</source>
        <translation>the map matches the timetable</translation>
    </message>
    <message>
        <source>карта не соответствует расписанию: %1</source>
        <translation>the map does not match the timetable: %1</translation>
    </message>
    <message>
        <source>вызов: gaftool catalogue
Печатает встроенные карты, как их знает программа: меню карт с путём, заголовком окна и
состоянием каждого пункта; код и город, которые узнаются по каждому пути, с настройкой после
загрузки (картинка, рисунок графа); таблицу маршрутов каждого кода.</source>
        <translation>usage: gaftool catalogue
Prints the built-in maps as the program knows them: the map menus with each entry&apos;s
path, window title and state; the code and city each path is recognised as, with the
set-up that follows a load (picture, drawn graph); and the route table of each code.</translation>
    </message>
    <message>
        <source>вызов: gaftool gtfs-summary ИСТОЧНИК [--machine]
Что предлагает расписание GTFS (.zip или папка) до импорта: название первого перевозчика и
число маршрутов каждого основного вида, по agency.txt и routes.txt.
  --machine  для программ: записи progress&lt;TAB&gt;STAGE&lt;TAB&gt;FRACTION на стандартном выводе
             (не чаще ~10 в секунду), затем summary&lt;TAB&gt;JSON, сжато, как
             {&quot;agency_name&quot;:&quot;...&quot;,&quot;route_types&quot;:{&quot;3&quot;:12,&quot;0&quot;:2}}; или
             error&lt;TAB&gt;FILE: REASON последней строкой
Код выхода 0, когда источник прочитан, 2, когда его нельзя прочитать.</source>
        <translation>usage: gaftool gtfs-summary FEED [--machine]
What a GTFS feed (a .zip or a folder) offers before it is imported: its first agency&apos;s
name and the number of routes of each basic route type, from agency.txt and routes.txt.
  --machine  for a program: progress&lt;TAB&gt;STAGE&lt;TAB&gt;FRACTION records on standard output
             (at most ~10 a second), then summary&lt;TAB&gt;JSON, compact, as
             {&quot;agency_name&quot;:&quot;...&quot;,&quot;route_types&quot;:{&quot;3&quot;:12,&quot;0&quot;:2}}; or
             error&lt;TAB&gt;FILE: REASON as the last line
Exit 0 when the feed was read, 2 when it cannot be.</translation>
    </message>
    <message>
        <source>трамвай</source>
        <translation>tram</translation>
    </message>
    <message>
        <source>метро</source>
        <translation>metro</translation>
    </message>
    <message>
        <source>поезд</source>
        <translation>rail</translation>
    </message>
    <message>
        <source>паром</source>
        <translation>ferry</translation>
    </message>
    <message>
        <source>канатный трамвай</source>
        <translation>cable tram</translation>
    </message>
    <message>
        <source>канатная дорога</source>
        <translation>aerial lift</translation>
    </message>
    <message>
        <source>фуникулёр</source>
        <translation>funicular</translation>
    </message>
    <message>
        <source>троллейбус</source>
        <translation>trolleybus</translation>
    </message>
    <message>
        <source>монорельс</source>
        <translation>monorail</translation>
    </message>
    <message>
        <source>автобус</source>
        <translation>bus</translation>
    </message>
    <message>
        <source>gaftool gtfs-summary: ожидается ИСТОЧНИК [--machine] (gaftool gtfs-summary --help)</source>
        <translation>gaftool gtfs-summary: expected FEED [--machine] (gaftool gtfs-summary --help)</translation>
    </message>
    <message>
        <source>Перевозчик: %1</source>
        <translation>Agency: %1</translation>
    </message>
    <message>
        <source>Маршруты по видам:</source>
        <translation>Routes by type:</translation>
    </message>
    <message>
        <source>вызов: gaftool import-gtfs ИСТОЧНИК ВЫХОД.gaf [--route-types СПИСОК] [--routes СПИСОК]
                           [--agency ID] [--scale МЕТРОВ_НА_ТОЧКУ] [--title ТЕКСТ]
                           [--fare X] [--transfer-fare X] [--max-memory БАЙТ]
                           [--layout schematic|geographic] [--no-timetable]
                           [--quiet | --machine]
Делает карту из расписания GTFS (.zip или папка): по остановке на станцию, связь для каждой
пары станций, которые рейс проходит одну за другой, пешие дороги для пересадок. Записывает
ВЫХОД.gaf, её описание ВЫХОД.gafd (буква кода, таблица маршрутов, стоимость, заголовок) и её
расписание ВЫХОД.gaft (рейсы, дни движения, переходы; см. gaftool timetable).
  --route-types СПИСОК  виды маршрутов через запятую (0 трамвай, 1 метро, 2 поезд, 3 автобус,
                      4 паром, 5 канатный трамвай, 6 канатная дорога, 7 фуникулёр,
                      11 троллейбус, 12 монорельс); расширенные виды считаются основными
  --routes СПИСОК     значения route_id или route_short_name через запятую
  --agency ID         маршруты одного agency_id
  --scale M           метров на точку (по умолчанию карта около 3000 точек в ширину)
  --title ТЕКСТ       заголовок окна (по умолчанию название первого перевозчика)
  --fare X, --transfer-fare X  правило стоимости вместо fare_attributes.txt источника
  --max-memory БАЙТ   наибольшая память, которую импорт может занять (по умолчанию 2G);
                      источник, которому нужно больше, отвергается; K, M и G — по 1024
  --layout L          вид, в котором карта записывается: schematic (линии горизонтально,
                      вертикально или под 45 градусов; по умолчанию для метро, трамвая и
                      поездов) или geographic (по умолчанию для остальных и для схемы, которая
                      пересекла бы линии, не пересекающиеся на местности, или вышла бы из
                      восьми направлений); описание хранит оба
  --no-timetable      без ВЫХОД.gaft (оставшийся от прежнего импорта удаляется)
  --quiet             без хода работы на стандартном выводе ошибок
  --machine           для программ: записи через табуляцию на стандартном выводе, по одной в
                      строке: progress&lt;TAB&gt;STAGE&lt;TAB&gt;FRACTION (не чаще ~10 в секунду),
                      note&lt;TAB&gt;TEXT, renamed&lt;TAB&gt;N (число названий латиницей), когда карта
                      записана, или error&lt;TAB&gt;FILE: REASON последней строкой
Код выхода 0, когда карта записана; 2 при неверных аргументах, нечитаемом источнике или карте,
которую нельзя записать.</source>
        <translation>usage: gaftool import-gtfs FEED OUT.gaf [--route-types LIST] [--routes LIST]
                           [--agency ID] [--scale METRES_PER_PIXEL] [--title TEXT]
                           [--fare X] [--transfer-fare X] [--max-memory BYTES]
                           [--layout schematic|geographic] [--no-timetable]
                           [--quiet | --machine]
Makes a map from a GTFS feed (a .zip or a folder): one stop per station, a link for each
pair of stations a trip serves one after the other, walking roads for transfers. Writes
OUT.gaf, its description OUT.gafd (code letter, route table, fares, title) and its
timetable OUT.gaft (trips, service days, walks; see gaftool timetable).
  --route-types LIST  route types to keep, comma-separated (0 tram, 1 metro, 2 rail, 3 bus,
                      4 ferry, 5 cable tram, 6 aerial lift, 7 funicular, 11 trolleybus,
                      12 monorail); extended types count as their basic type
  --routes LIST       route_id or route_short_name values to keep, comma-separated
  --agency ID         keep the routes of one agency_id
  --scale M           metres per pixel (default: the map is about 3000 pixels across)
  --title TEXT        the window title (default: the first agency&apos;s name)
  --fare X, --transfer-fare X  the fare rule, over the feed&apos;s fare_attributes.txt
  --max-memory BYTES  the most memory the import may take at its peak (default 2G); a feed
                      that needs more is refused; K, M and G suffixes count 1024s
  --layout L          the layout the map is saved in: schematic (lines horizontal, vertical
                      or at 45 degrees; the default for metro, tram and rail) or geographic
                      (the default for others, and for a schematic that would cross lines
                      the ground does not or leave the eight directions); the description
                      keeps both
  --no-timetable      no OUT.gaft (one left from an earlier import is removed)
  --quiet             no progress on standard error
  --machine           for a program: tab-separated records on standard output, one a line:
                      progress&lt;TAB&gt;STAGE&lt;TAB&gt;FRACTION (at most ~10 a second), note&lt;TAB&gt;TEXT,
                      renamed&lt;TAB&gt;N (names transliterated) once the map is written, or
                      error&lt;TAB&gt;FILE: REASON as the last line
Exit 0 when the map was written; 2 for bad arguments, a feed that cannot be read or a map
that cannot be written.</translation>
    </message>
    <message>
        <source>--scale: нужно положительное число</source>
        <translation>--scale needs a positive number</translation>
    </message>
    <message>
        <source>--max-memory: нужно число байт, как 512M или 2G</source>
        <translation>--max-memory needs a number of bytes, as 512M or 2G</translation>
    </message>
    <message>
        <source>%1: нужно число от 0 до 10^9</source>
        <translation>%1 needs a number from 0 up to 10^9</translation>
    </message>
    <message>
        <source>неизвестный ключ %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>неизвестный вид маршрутов %1</source>
        <translation>unknown route type %1</translation>
    </message>
    <message>
        <source>%1: нужно значение</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>--layout: schematic или geographic</source>
        <translation>--layout is schematic or geographic</translation>
    </message>
    <message>
        <source>ожидаются ИСТОЧНИК ВЫХОД.gaf</source>
        <translation>expected FEED OUT.gaf</translation>
    </message>
    <message>
        <source>%1: %2 остановок, %3 связей, %4 маршрутов</source>
        <translation>%1: %2 stops, %3 links, %4 routes</translation>
    </message>
    <message>
        <source>вызов: gaftool dump ФАЙЛ [--json]
Печатает все записанные поля заголовка, все остановки по порядку списка со всеми их полями
и все связи по порядку с признаком дуги. ФАЙЛ — карта .gaf или её .json.</source>
        <translation>usage: gaftool dump FILE [--json]
Prints every stored header field, every stop in list order with all its stored fields
and every link in order with whether it is an arc. FILE is a .gaf map or its .json.</translation>
    </message>
    <message>
        <source>вызов: gaftool convert ИЗ В
Переводит по расширению: карту .gaf в её JSON (то, что печатает dump --json), а карту .json —
в файл .gaf. JSON в .gaf и снова в JSON даёт тот же текст. Описание рядом с ИЗ (ИЗ.gafd) и
расписание (ИЗ.gaft) записываются и рядом с В.</source>
        <translation>usage: gaftool convert IN OUT
Converts by extension: a .gaf map to its JSON (what dump --json prints) and a .json map
to a .gaf file. JSON to .gaf to JSON gives the same text. A description beside IN
(IN.gafd) and a timetable (IN.gaft) are written beside OUT too.</translation>
    </message>
    <message>
        <source>вызов: gaftool validate ФАЙЛ
Перечисляет все нарушенные правила карты: повторённые Id, Id вне 0..max_stop_id, связи
остановки с самой собой, две связи одной упорядоченной пары, отрицательные или бесконечные
длины, тексты, которых не вмещает Windows-1251. Код выхода 1, если нарушения есть, 0, если нет.</source>
        <translation>usage: gaftool validate FILE
Lists every broken invariant of a map: duplicate ids, ids outside 0..max_stop_id,
self-links, two links for one ordered pair, negative or non-finite lengths, texts that
Windows-1251 cannot hold. Exits 1 if there is any, 0 if none.</translation>
    </message>
    <message>
        <source>gaftool: этот gaftool собран без QtGui и не рисует</source>
        <translation>gaftool: this gaftool was built without QtGui and cannot render</translation>
    </message>
    <message>
        <source>вызов: gaftool render ФАЙЛ ВЫХОД.svg|ВЫХОД.pdf|ВЫХОД.png [--scale S] [--visible X,Y,W,H]
                      [--way ОТКУДА КУДА [--by C | --depart T]]
Рисует карту (.gaf или .json), как её показывает программа: дороги, дуги со стрелками, длины,
остановки и названия, карту из расписания — с линиями и названиями на местах, указанных её
описанием (ФАЙЛ.gafd), поверх её картинки, если описание её называет. SVG и PDF хранят всё,
кроме картинки, фигурами и текстом, в котором можно искать; PNG — картинка.
  --scale S          экранных точек на точку карты (по умолчанию 1, от 0.05 до 8)
  --visible X,Y,W,H  только эта часть карты (в точках карты); по умолчанию вся карта
  --way ОТКУДА КУДА  путь, найденный между двумя остановками (Id или названия), поверх карты
  --by C             shortest (по умолчанию), fastest или changes
  --depart T         поездка по расписанию карты с отправлением в T или позже
                     («ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»)</source>
        <translation>usage: gaftool render FILE OUT.svg|OUT.pdf|OUT.png [--scale S] [--visible X,Y,W,H]
                      [--way FROM TO [--by C | --depart T]]
Draws a map (.gaf or .json) as the program shows it: roads, arcs with their arrows,
lengths, stops and names, a map imported from a feed with its lines and names placed as its
description (FILE.gafd) says, over its picture when the description names one. SVG and PDF
keep everything but the picture as shapes and text that can be searched; PNG is a picture.
  --scale S          screen pixels a map pixel (1 by default, 0.05 to 8)
  --visible X,Y,W,H  only this part of the map (map pixels); the whole map by default
  --way FROM TO      the way found between two stops (ids, or names) drawn over the map
  --by C             shortest (by default), fastest or changes
  --depart T         the journey by the map&apos;s timetable leaving at or after T
                     (&quot;YYYY-MM-DD HH:MM&quot; or &quot;HH:MM&quot;)</translation>
    </message>
    <message>
        <source>--scale: нужно число от 0.05 до 8</source>
        <translation>--scale needs a number from 0.05 to 8</translation>
    </message>
    <message>
        <source>--visible: нужно X,Y,W,H (целые числа, W и H больше 0)</source>
        <translation>--visible needs X,Y,W,H (whole numbers, W and H above 0)</translation>
    </message>
    <message>
        <source>--way: нужны ОТКУДА и КУДА</source>
        <translation>--way needs FROM and TO</translation>
    </message>
    <message>
        <source>--by: нужно shortest, fastest или changes</source>
        <translation>--by needs shortest, fastest or changes</translation>
    </message>
    <message>
        <source>--depart: нужно «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»</source>
        <translation>--depart needs &quot;YYYY-MM-DD HH:MM&quot; or &quot;HH:MM&quot;</translation>
    </message>
    <message>
        <source>ожидаются ФАЙЛ и ВЫХОД</source>
        <translation>expected FILE and OUT</translation>
    </message>
    <message>
        <source>--by и --depart даются вместе с --way</source>
        <translation>--by and --depart go with --way</translation>
    </message>
    <message>
        <source>--by и --depart исключают друг друга</source>
        <translation>--by and --depart exclude each other</translation>
    </message>
    <message>
        <source>ВЫХОД должен кончаться на .svg, .pdf или .png</source>
        <translation>OUT must end in .svg, .pdf or .png</translation>
    </message>
    <message>
        <source>нет остановки «%1»</source>
        <translation>no stop “%1”</translation>
    </message>
    <message>
        <source>по расписанию пути нет</source>
        <translation>no way by the timetable</translation>
    </message>
    <message>
        <source>пути нет</source>
        <translation>no way</translation>
    </message>
    <message>
        <source>вызов: gaftool route ФАЙЛ FROM_ID TO_ID [--by C] [--map-code C] [--map-city X]
                     [--decimal-separator S] [--json]
       gaftool route ФАЙЛ --batch [--by C] [--map-code C] [--map-city X]
                     [--decimal-separator S]
Находит путь от остановки FROM_ID до остановки TO_ID карты ФАЙЛ (.gaf или .json) и печатает
отчёт: стоимость, длину, время и поездки.
  --by C                      shortest (наименьшая длина, по умолчанию), fastest (наименьшее
                              время) или changes (меньше пересадок, затем меньше время)
  --map-code C, --map-city X  код сети и город карты (по умолчанию оба по пути ФАЙЛ, как он
                              дан, как у встроенных карт); без них код, номера маршрутов и
                              правило стоимости даёт описание ФАЙЛ.gafd рядом с невстроенной
                              картой
  --decimal-separator S       один символ (по умолчанию: по-английски точка, иначе — из
                              региональных настроек)
  --json                      один объект JSON: criterion, result (found, no_way_message,
                              unreached, looping_way, negative_cycle, negative_times,
                              no_times), а если путь найден, way (Id, от начала), length_m,
                              time_s, fare, fare_text, length_text, time_text, rides_text
  --batch                     читает карту один раз, затем запросы «FROM_ID TO_ID [C]» по
                              одному в строке со стандартного ввода и отвечает на каждый
                              строкой JSON, как --json, с from и to; на неверную строку
                              отвечает error и line (счёт с 1), и работа продолжается
Код выхода 0 при любом ответе поиска; 2 при неверных аргументах, нечитаемом файле или вводе,
неизвестном Id.

По расписанию, лежащему рядом с картой (ФАЙЛ.gaft, см. gaftool build-timetable):
       gaftool route ФАЙЛ ОТКУДА КУДА --depart &quot;[ГГГГ-ММ-ДД ]ЧЧ:ММ&quot; [--window MIN]
                     [--change-time S] [--json]
       gaftool route ФАЙЛ --batch --depart-lines [--window MIN] [--change-time S]
  ОТКУДА, КУДА                Id остановки или точное название (все станции с ним)
  --depart T                  поездки с отправлением в T или позже, по местному времени
                              перевозчика (без даты — сегодня); каждая — лучшая по прибытию
                              и числу поездок
  --window MIN                все поездки с отправлением в пределах MIN минут от T, которых
                              не опережает никакая другая, по порядку отправления
  --change-time S             пересадка внутри станции, где расписание её не даёт (120)
  --json                      {&quot;journeys&quot;: [{departure, arrival, rides, legs: [{kind (ride
                              или walk), route, headsign, from, to, departure, arrival}]}]}
  --batch --depart-lines      «ОТКУДА&lt;TAB&gt;КУДА&lt;TAB&gt;ОТПРАВЛЕНИЕ» по строке со стандартного
                              ввода, на каждую строка JSON с from, to и depart</source>
        <translation>usage: gaftool route FILE FROM_ID TO_ID [--by C] [--map-code C] [--map-city X]
                     [--decimal-separator S] [--json]
       gaftool route FILE --batch [--by C] [--map-code C] [--map-city X]
                     [--decimal-separator S]
Finds the way from stop FROM_ID to stop TO_ID of FILE (.gaf or .json) and prints the
report: fare, length, time and rides.
  --by C                      shortest (the least length, by default), fastest (the least
                              time) or changes (the fewest transfers, then the least time)
  --map-code C, --map-city X  the map&apos;s network code and city (both by default from FILE&apos;s
                              path as given, as for the built-in maps); without them a
                              description FILE.gafd beside a map that is not built in gives
                              the code, the route numbers and the fare rule
  --decimal-separator S       one character (default: a point in English, else the
                              locale&apos;s)
  --json                      one JSON object: criterion, result (found, no_way_message,
                              unreached, looping_way, negative_cycle, negative_times,
                              no_times), and when found way (ids, start first), length_m,
                              time_s, fare, fare_text, length_text, time_text, rides_text
  --batch                     reads the map once, then queries &quot;FROM_ID TO_ID [C]&quot; one a
                              line from standard input, and answers each with a line of
                              JSON as --json, with from and to; a bad line is answered
                              with error and line (counted from 1) and the batch goes on
Exit 0 whatever the search answers; 2 for bad arguments, an unreadable file or input, or
an unknown id.

By the timetable kept beside the map (FILE.gaft, see gaftool build-timetable):
       gaftool route FILE FROM TO --depart &quot;[YYYY-MM-DD ]HH:MM&quot; [--window MIN]
                     [--change-time S] [--json]
       gaftool route FILE --batch --depart-lines [--window MIN] [--change-time S]
  FROM, TO                    a stop id, or a stop&apos;s exact name (every station of that name)
  --depart T                  the journeys leaving at or after T, the agency&apos;s local time
                              (without a date: today); each is the best of its arrival and
                              number of rides
  --window MIN                every journey leaving within MIN minutes from T that no other
                              leaving then beats, earliest departure first
  --change-time S             the change inside a station where the feed gives none (120)
  --json                      {&quot;journeys&quot;: [{departure, arrival, rides, legs: [{kind (ride
                              or walk), route, headsign, from, to, departure, arrival}]}]}
  --batch --depart-lines      &quot;FROM&lt;TAB&gt;TO&lt;TAB&gt;DEPART&quot; a line from standard input, a JSON
                              line each with from, to and depart</translation>
    </message>
    <message>
        <source>--map-code: нужно значение</source>
        <translation>--map-code needs a value</translation>
    </message>
    <message>
        <source>--map-city: нужно значение</source>
        <translation>--map-city needs a value</translation>
    </message>
    <message>
        <source>--decimal-separator: нужен один символ</source>
        <translation>--decimal-separator needs one character</translation>
    </message>
    <message>
        <source>с --batch ожидается один ФАЙЛ</source>
        <translation>expected FILE alone with --batch</translation>
    </message>
    <message>
        <source>--batch всегда отвечает в JSON; --json с ним не даётся</source>
        <translation>--batch always answers in JSON; --json is not for it</translation>
    </message>
    <message>
        <source>ожидаются ФАЙЛ FROM_ID TO_ID</source>
        <translation>expected FILE FROM_ID TO_ID</translation>
    </message>
    <message>
        <source>FROM_ID и TO_ID должны быть целыми числами</source>
        <translation>FROM_ID and TO_ID must be whole numbers</translation>
    </message>
    <message>
        <source>Путь не найден: до конечной остановки не доехать</source>
        <translation>No way found: the finish cannot be reached</translation>
    </message>
    <message>
        <source>Путь не найден: отрицательные длины дорог замыкают путь в кольцо</source>
        <translation>No way found: negative road lengths close the way into a loop</translation>
    </message>
    <message>
        <source>ожидается «FROM_ID TO_ID [критерий]»</source>
        <translation>“FROM_ID TO_ID [criterion]” is expected</translation>
    </message>
    <message>
        <source>номера остановок должны быть целыми числами</source>
        <translation>stop ids must be whole numbers</translation>
    </message>
    <message>
        <source>неизвестный критерий «%1»: shortest, fastest или changes</source>
        <translation>unknown criterion “%1”: shortest, fastest or changes</translation>
    </message>
    <message>
        <source>нет остановки с номером %1</source>
        <translation>no stop with id %1</translation>
    </message>
    <message>
        <source>стандартный ввод</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>не читается</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>Внимание: отрицательные длины дорог: путь может быть не кратчайшим</source>
        <translation>Warning: negative road lengths: the way may not be the shortest</translation>
    </message>
    <message>
        <source>Стоимость пути: %1</source>
        <translation>Fare: %1</translation>
    </message>
    <message>
        <source>Длина пути: %1</source>
        <translation>Length: %1</translation>
    </message>
    <message>
        <source>Время в пути: %1</source>
        <translation>Travel time: %1</translation>
    </message>
    <message>
        <source>Проезд маршрутами :</source>
        <translation>Rides:</translation>
    </message>
    <message>
        <source>--window: нужно минут от 1 до 1440</source>
        <translation>--window needs minutes from 1 to 1440</translation>
    </message>
    <message>
        <source>--change-time: нужно секунд от 0 до 3600</source>
        <translation>--change-time needs seconds from 0 to 3600</translation>
    </message>
    <message>
        <source>--batch и --depart-lines даются вместе</source>
        <translation>--batch and --depart-lines go together</translation>
    </message>
    <message>
        <source>с --batch --depart-lines ожидается один ФАЙЛ</source>
        <translation>expected FILE alone with --batch --depart-lines</translation>
    </message>
    <message>
        <source>ожидаются ФАЙЛ ОТКУДА КУДА</source>
        <translation>expected FILE FROM TO</translation>
    </message>
    <message>
        <source>--window и --change-time даются вместе с --depart</source>
        <translation>--window and --change-time go with --depart</translation>
    </message>
    <message>
        <source>расписание не соответствует карте, поиск по нему выключен: %1</source>
        <translation>the timetable does not match the map, searching by it is off: %1</translation>
    </message>
    <message>
        <source>нет остановки «%1» в расписании</source>
        <translation>no stop “%1” in the timetable</translation>
    </message>
    <message>
        <source>вызов: gaftool build-timetable ИСТОЧНИК КАРТА.gaf [--route-types СПИСОК] [--routes СПИСОК]
                               [--agency ID] [--quiet]
Строит расписание карты, сделанной gaftool import-gtfs из ИСТОЧНИКА, и записывает его рядом с
картой как КАРТА.gaft: рейсы взятых маршрутов с временами и днями движения, переходы между
станциями и место остановки каждой станции на карте. Дайте те же ключи, что и импорту, чтобы
взялись те же маршруты и станции.
Код выхода 0, когда записано; 2 при неверных аргументах, нечитаемом источнике или карте,
карте, сделанной не из этого источника, или расписании, которое нельзя записать.</source>
        <translation>usage: gaftool build-timetable FEED MAP.gaf [--route-types LIST] [--routes LIST]
                               [--agency ID] [--quiet]
Builds the timetable of a map that gaftool import-gtfs made from FEED and writes it beside
the map as MAP.gaft: the trips of the routes taken with their times and service days, the
walks between stations, and where each station&apos;s stop is on the map. Give the options the
import was given, so that the same routes and stations are taken.
Exit 0 when written; 2 for bad arguments, a feed or map that cannot be read, a map that was
not made from this feed, or a timetable that cannot be written.</translation>
    </message>
    <message>
        <source>вызов: gaftool timetable КАРТА.gaf
Сводка расписания КАРТА.gaft рядом с картой: его период и часовой пояс, рейсы, времена
остановок, станции и переходы, и соответствует ли ему ещё карта.
Код выхода 0; 2, когда карту или её расписание нельзя прочитать.</source>
        <translation>usage: gaftool timetable MAP.gaf
Summarises the timetable MAP.gaft beside the map: its period and time zone, trips, stop
times, stations and walks, and whether the map still matches it.
Exit 0; 2 when the map or its timetable cannot be read.</translation>
    </message>
    <message>
        <source>ожидаются ИСТОЧНИК КАРТА.gaf</source>
        <translation>expected FEED MAP.gaf</translation>
    </message>
    <message>
        <source>gaftool timetable: ожидается КАРТА.gaf (gaftool timetable --help)</source>
        <translation>gaftool timetable: expected MAP.gaf (gaftool timetable --help)</translation>
    </message>
    <message>
        <source>gaftool: стандартный вывод: %1</source>
        <translation>gaftool: standard output: %1</translation>
    </message>
    <message>
        <source>все записанные поля карты, текстом или JSON</source>
        <translation>every stored field of a map, as text or JSON</translation>
    </message>
    <message>
        <source>.gaf в JSON и JSON в .gaf</source>
        <translation>.gaf to JSON and JSON to .gaf</translation>
    </message>
    <message>
        <source>нарушенные правила карты</source>
        <translation>list the broken invariants of a map</translation>
    </message>
    <message>
        <source>рисунок карты в SVG, PDF или PNG, с найденным путём</source>
        <translation>draw a map as SVG, PDF or PNG, with a way found</translation>
    </message>
    <message>
        <source>кратчайший, быстрейший путь или путь с наименьшим числом пересадок между двумя остановками и отчёт о нём</source>
        <translation>the shortest, fastest or fewest-changes way between two stops and its report</translation>
    </message>
    <message>
        <source>встроенные карты: меню, пути, картинки и таблицы маршрутов</source>
        <translation>the built-in maps: menus, paths, pictures and route tables</translation>
    </message>
    <message>
        <source>карта и её описание из расписания GTFS</source>
        <translation>make a map and its description from a GTFS transit feed</translation>
    </message>
    <message>
        <source>перевозчик и маршруты каждого вида в расписании GTFS</source>
        <translation>the agency and the routes of each type that a GTFS feed offers</translation>
    </message>
    <message>
        <source>расписание карты, сделанной из GTFS, записывается рядом с ней</source>
        <translation>write the timetable of a map imported from a GTFS feed beside it</translation>
    </message>
    <message>
        <source>сводка расписания, лежащего рядом с картой</source>
        <translation>summarise the timetable kept beside a map</translation>
    </message>
    <message>
        <source>gaftool: работа с файлами карт lirskmap (.gaf)

вызов: gaftool КОМАНДА [АРГУМЕНТЫ] [--lang ru|en] (КОМАНДА --help — о ней самой)

</source>
        <translation>gaftool: tools for lirskmap map files (.gaf)

usage: gaftool COMMAND [ARGS] [--lang ru|en] (COMMAND --help for its own)

</translation>
    </message>
    <message>
        <source>gaftool: --lang: нужно ru или en</source>
        <translation>gaftool: --lang needs ru or en</translation>
    </message>
    <message>
        <source>вызов: gaftool КОМАНДА [АРГУМЕНТЫ]; gaftool --help перечисляет команды</source>
        <translation>usage: gaftool COMMAND [ARGS]; gaftool --help lists the commands</translation>
    </message>
    <message>
        <source>gaftool: неизвестная команда «%1»; gaftool --help перечисляет команды</source>
        <translation>gaftool: unknown command &apos;%1&apos;; gaftool --help lists them</translation>
    </message>
</context>
</TS>
