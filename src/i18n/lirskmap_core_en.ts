<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>FeedTable</name>
    <message>
        <source>файл пуст, нет даже заголовка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет столбца %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>построение расписания прервано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: строка %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 пусто</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не целое число от %2 до %3: «%4»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не число: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не время Ч:ММ:СС: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — 72 часа или больше от начала дня: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не дата ГГГГММДД: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GtfsImport</name>
    <message>
        <source>ошибок нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>многотомные архивы не поддерживаются</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось переименовать временный файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка закрытия архива</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка перемещения по файлу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка чтения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>контрольная сумма не сходится</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>архив уже закрыт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет такого файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл уже есть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось открыть файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось создать временный файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка распаковки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не хватило памяти</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл изменился</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>способ сжатия не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл оборвался раньше конца</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>недопустимый аргумент</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не архив zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>внутренняя ошибка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>архив противоречив</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось удалить файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>запись удалена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>способ шифрования не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>архив только для чтения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>архив зашифрован, а пароля нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>пароль неверен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>действие не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ресурс занят</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка определения позиции в файле</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сжатые данные испорчены</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в источнике нет тарифов (fare_attributes.txt): стоимость проезда 0, задайте её ключом --fare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в источнике нет тарифов (fare_attributes.txt): стоимость проезда 0, задайте её в «Сервис» → «Описание карты…» (в режиме редактора)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>расписание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта вышла в %1 МБ, а читаются карты до %2 МБ: сузьте выбор ключами --routes, --route-types или --agency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>схема: %1 из %2 перегонов не по восьми направлениям, новых пересечений %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта показана по географии: схема искажает её топологию, она доступна в меню «Вид» → «Схема»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>расписание не записано: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ImportText</name>
    <message>
        <source>ошибка чтения: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>запись длиннее %1 байт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в записи больше %1 полей</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>кавычка не закрыта до конца файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>после закрывающей кавычки не запятая</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл пуст, нет даже заголовка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет столбца %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: строка %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 пусто</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не число: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не целое число от %2 до %3: «%4»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>координаты вне земного шара</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — не время Ч:ММ:СС: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — 72 часа и больше: «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это канал (FIFO), а не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это устройство, а не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это сокет, а не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка архива %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>распаковывается больше объявленных %1 байт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет в архиве</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в архиве объявлен размером больше %1 ГиБ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет такого файла или папки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не архив zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не архив zip: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: нет такого файла в источнике</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>рейсы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop_times.txt: выбранные рейсы не заходят ни на одну остановку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>маршруты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>route_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выбору не отвечает ни один маршрут</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trip_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>у выбранных маршрутов нет ни одного рейса</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет остановки «%1» в stops.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>у остановки «%1» нет координат</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>импорт прерван</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>импорту нужно больше памяти, чем ему отведено: %1 МБ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не хватило памяти (импорту отведено %1 МБ)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не хватило памяти</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сеть протянулась на %1 км, а путь длиннее 262 136 м поиск считает недостижимым: сузьте выбор ключами --routes, --route-types или --agency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Остановка %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>пеших переходов так много, что описание карты не перечисляет их: отчёт считает их поездками</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>маршрутов так много, что описание карты превысило бы %1 МБ: в него вошли %2 маршрутов из %3, без названий</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>маршруты перегонов не вошли в описание карты: оно превысило бы %1 МБ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>места названий не вошли в описание карты: оно превысило бы %1 МБ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>цен в fare_attributes.txt вне 0…10⁹, оставленных без внимания: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>стоимость проезда вне 0…10⁹ не задана</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>названия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>перегоны</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>пешие переходы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>названий с буквами вне Windows-1251, записанных латиницей: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapDescription</name>
    <message>
        <source>ожидается строка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается число от 0 до миллиарда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается список объектов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается список {from, to, routes} целых чисел</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается список троек целых чисел</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается {shown, geographic, schematic} со списками троек целых чисел</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидаются пары номеров остановок «1-2» через пробел</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается целое число от 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается целое от 2 до 500</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>это символическая ссылка: через неё не пишется</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Schematic</name>
    <message>
        <source>схема строится для сетей метро, трамвая и железной дороги, до %1 станций, а на этой карте их %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Timetable</name>
    <message>
        <source>это не обычный файл, а устройство, канал, сокет или папка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл размером %1 байт больше предела в %2 байт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные станции</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные переходы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные перегоны</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные маршруты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные рейсы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные остановки маршрутов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные шаблоны маршрутов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл расписания повреждён: неверные времена</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>gaftool</name>
    <message>
        <source>время «%1» не в виде «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»</source>
        <translation>time «%1» is not “YYYY-MM-DD HH:MM” or “HH:MM”</translation>
    </message>
    <message>
        <source>%1 вне периода расписания %2 — %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 мин.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пути нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправление %1, прибытие %2, в пути %3, поездок: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  ожидание %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 пешком от %2 до %3, %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 маршрут %2 «%3»: от %4 до %5, остановок: %6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>начало и конец пути — одна и та же остановка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ожидается «FROM&lt;TAB&gt;TO&lt;TAB&gt;DEPART»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>на карте %1 остановок, а в источнике %2 станций</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановка %1 карты называется «%2», а станция источника — «%3»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта сделана не из этого источника или не с этим выбором маршрутов: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 рейсов, %3 времён остановок, %4 станций</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>расписание %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>период: %1 — %2, %3 дн., часовой пояс %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>рейсов: %1, времён остановок: %2, станций: %3, переходов пешком: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>маршрутов: %1, шаблонов маршрутов: %2, наборов дней движения: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта соответствует расписанию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта не соответствует расписанию: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>gaftool::Network</name>
    <message>
        <source>расписание не соответствует карте, поиск по нему выключен: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет остановки «%1» в расписании</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lirsk</name>
    <message>
        <source><byte value="xd"/>пешком от ост. %1 до ост. %2, %3 мин.<byte value="xd"/>%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№ %1 «%2», %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>на карте нет остановки %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановка %1 (%2) сдвинута</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>расписание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>построение расписания прервано</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lirsk::Assembler</name>
    <message>
        <source>расписание</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>на карте нет остановки для станции «%1» (stop_id %2): карта сделана не из этого источника или не с этим выбором маршрутов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop_times.txt: выбранные рейсы не заходят ни на одну остановку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>calendar.txt: ни один выбранный рейс не ходит ни в один день</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>период расписания длиннее %1 дней: взяты первые %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>рейсов без дней движения в calendar.txt и calendar_dates.txt: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>рейсов без времени на первой или последней остановке, с временами, идущими назад, или с повторённым stop_sequence, оставлено без внимания: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frequencies.txt: рейс «%1» доходит до 72 часов от начала дня</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lirsk::FeedReader</name>
    <message>
        <source>%1: нет такого файла в источнике</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>calendar.txt: нет ни его, ни calendar_dates.txt: дни движения неизвестны</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестный часовой пояс «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>agency.txt: нет ни одного перевозчика, часовой пояс неизвестен</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>route_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trip_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>координаты вне земного шара</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop_id «%1» уже был</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет остановки «%1» в stops.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>у остановки «%1» нет координат</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start_time и end_time нужны оба</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
