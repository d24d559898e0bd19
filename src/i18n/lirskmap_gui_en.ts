<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>AboutDialog</name>
    <message>
        <source>О программе</source>
        <translation>About Lirsk Map</translation>
    </message>
    <message>
        <source>Карта Лирска</source>
        <translation>Lirsk Map</translation>
    </message>
    <message>
        <source>Поиск оптимального пути
по картам городского транспорта

Автор: команда lirskmap
Почта: lirskmap@example.org
Сайт: lirskmap.example.org</source>
        <translation>Finding the best way
on urban transport maps

Author: the lirskmap team
Mail: lirskmap@example.org
Site: lirskmap.example.org</translation>
    </message>
</context>
<context>
    <name>AccessDialog</name>
    <message>
        <source>Контроль доступа</source>
        <translation>Access Control</translation>
    </message>
    <message>
        <source>Пользователь:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Поле ввода пользователя</source>
        <translation>User name field</translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Поле ввода пароля</source>
        <translation>Password field</translation>
    </message>
    <message>
        <source>Ввести &gt;&gt;</source>
        <translation>Enter &gt;&gt;</translation>
    </message>
    <message>
        <source>Ошибка %1</source>
        <translation>Error %1</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Неверный пароль</source>
        <translation>Wrong password</translation>
    </message>
</context>
<context>
    <name>CreditsDialog</name>
    <message>
        <source>Соавторы</source>
        <translation>Credits</translation>
    </message>
    <message>
        <source>Выражаю особую благодарность людям помогавшим и поддерживающим меня : </source>
        <translation>Special thanks to the people who helped and supported me:</translation>
    </message>
    <message>
        <source>Семье и друзьям — за терпение, пока карта рисовалась вечерами.</source>
        <translation>To family and friends, for their patience while the map was drawn in the evenings.</translation>
    </message>
    <message>
        <source>Первым пассажирам-испытателям — за найденные ошибки и советы о маршрутах.</source>
        <translation>To the first passengers who tested it, for the faults they found and their advice on routes.</translation>
    </message>
    <message>
        <source>Не удалось открыть адрес %1: на компьютере не найден обозреватель.</source>
        <translation>Could not open %1: no web browser was found on this computer.</translation>
    </message>
</context>
<context>
    <name>DisplaySettingsDialog</name>
    <message>
        <source>Настройки параметров</source>
        <translation>Display Settings</translation>
    </message>
    <message>
        <source>Веса дуг</source>
        <translation>Arc weights</translation>
    </message>
    <message>
        <source>Пользователя</source>
        <translation>Ask the user</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Показывать веса</source>
        <translation>Show weights</translation>
    </message>
    <message>
        <source>Авто цвет дуг</source>
        <translation>Auto arc colour</translation>
    </message>
    <message>
        <source>Цвет дуг:</source>
        <translation>Arc colour:</translation>
    </message>
    <message>
        <source>Цвет дерева:</source>
        <translation>Way colour:</translation>
    </message>
    <message>
        <source>Настройка изображений</source>
        <translation>Drawing</translation>
    </message>
    <message>
        <source>Толщина дуги:</source>
        <translation>Arc width:</translation>
    </message>
    <message>
        <source>Размер стрелки:</source>
        <translation>Arrow size:</translation>
    </message>
    <message>
        <source>Угол стрелки:</source>
        <translation>Arrow angle:</translation>
    </message>
    <message>
        <source>Вид стрелки</source>
        <translation>Arrow style</translation>
    </message>
    <message>
        <source>Ушастая</source>
        <translation>Barbed</translation>
    </message>
    <message>
        <source>Треугольная не закрашенная</source>
        <translation>Open triangle</translation>
    </message>
</context>
<context>
    <name>GtfsImportJob</name>
    <message>
        <source>не удалось запустить программу импорта %1: %2</source>
        <translation>could not start the import program %1: %2</translation>
    </message>
    <message>
        <source>не удалось создать временную папку: %1</source>
        <translation>could not create a temporary folder: %1</translation>
    </message>
    <message>
        <source>программа импорта завершилась аварийно%1</source>
        <translation>the import program crashed%1</translation>
    </message>
    <message>
        <source>программа импорта завершилась с кодом %1</source>
        <translation>the import program ended with code %1</translation>
    </message>
    <message>
        <source>Расписание не прочитано: %1</source>
        <translation>The timetable was not read: %1</translation>
    </message>
    <message>
        <source>программа импорта не записала описание карты</source>
        <translation>the import program wrote no map description</translation>
    </message>
    <message>
        <source>программа импорта не сообщила, что есть в наборе</source>
        <translation>the import program did not tell what the feed holds</translation>
    </message>
</context>
<context>
    <name>JourneyPage</name>
    <message>
        <source>%1 мин.</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>пешком</source>
        <comment>a walk&apos;s line in the report</comment>
        <translation>on foot</translation>
    </message>
    <message>
        <source>пешком</source>
        <translation>walk</translation>
    </message>
    <message>
        <source>пересадка на ост. %1, %2</source>
        <translation>change at %1, %2</translation>
    </message>
    <message>
        <source>%1 → %2, %3</source>
        <translation>%1 → %2, %3</translation>
    </message>
    <message>
        <source>проезд</source>
        <translation>ride</translation>
    </message>
    <message>
        <source>Поездка: %1</source>
        <translation>Journey: %1</translation>
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
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>Пересадок: %1</source>
        <translation>Changes: %1</translation>
    </message>
    <message>
        <source>Печать поездки</source>
        <translation>Print Journey</translation>
    </message>
    <message>
        <source>Экспорт в PDF</source>
        <translation>Export to PDF</translation>
    </message>
    <message>
        <source>Документы PDF (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message>
        <source>Не удалось записать %1:
%2</source>
        <translation>Could not write %1:
%2</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>№ %1</source>
        <translation>No. %1</translation>
    </message>
</context>
<context>
    <name>JourneyPanel</name>
    <message>
        <source>остановка отправления</source>
        <translation>departure stop</translation>
    </message>
    <message>
        <source>остановка прибытия</source>
        <translation>arrival stop</translation>
    </message>
    <message>
        <source>Поменять местами</source>
        <translation>Swap</translation>
    </message>
    <message>
        <source>Откуда</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Куда</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Когда</source>
        <translation>When</translation>
    </message>
    <message>
        <source>Время отправления по часам расписания</source>
        <translation>Departure time by the timetable&apos;s clock</translation>
    </message>
    <message>
        <source>Сейчас</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>Отправление сейчас (в период действия расписания)</source>
        <translation>Depart now (within the timetable&apos;s period)</translation>
    </message>
    <message>
        <source>‹ Раньше</source>
        <translation>‹ Earlier</translation>
    </message>
    <message>
        <source>Поездки с более ранним отправлением</source>
        <translation>Journeys departing earlier</translation>
    </message>
    <message>
        <source>Позже ›</source>
        <translation>Later ›</translation>
    </message>
    <message>
        <source>Поездки с более поздним отправлением</source>
        <translation>Journeys departing later</translation>
    </message>
    <message>
        <source>Укажите, откуда и куда ехать: начните вводить название или протяните мышью от остановки к остановке на карте.</source>
        <translation>Say where from and where to: start typing a name, or drag the mouse from stop to stop on the map.</translation>
    </message>
    <message>
        <source>Укажите, %1 ехать.</source>
        <translation>Say %1.</translation>
    </message>
    <message>
        <source>откуда</source>
        <translation>where from</translation>
    </message>
    <message>
        <source>куда</source>
        <translation>where to</translation>
    </message>
    <message>
        <source>Откуда и куда — одна и та же остановка.</source>
        <translation>From and To are the same stop.</translation>
    </message>
    <message>
        <source>Поиск пути…</source>
        <translation>Finding the way…</translation>
    </message>
    <message>
        <source>Время отправления по часам расписания (%1); расписание действует с %2 по %3</source>
        <translation>Departure time by the timetable&apos;s clock (%1); the timetable runs from %2 to %3</translation>
    </message>
    <message>
        <source>%1 мин</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>без пересадок</source>
        <translation>no changes</translation>
    </message>
    <message>
        <source>%1 пересадка</source>
        <translation>%1 change</translation>
    </message>
    <message>
        <source>%1 пересадки</source>
        <translation>%1 changes</translation>
    </message>
    <message>
        <source>%1 пересадок</source>
        <translation>%1 changes</translation>
    </message>
    <message>
        <source>Ожидание: %1, %2</source>
        <translation>Wait: %1, %2</translation>
    </message>
    <message>
        <source>%1  Пешком: %2 → %3, %4</source>
        <translation>%1  Walk: %2 → %3, %4</translation>
    </message>
    <message>
        <source>№ %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>№ %1 «%2»</source>
        <translation>No. %1 “%2”</translation>
    </message>
    <message>
        <source>%1  %2
%3 → %4</source>
        <translation>%1  %2
%3 → %4</translation>
    </message>
    <message>
        <source>кратчайший</source>
        <translation>shortest</translation>
    </message>
    <message>
        <source>быстрейший</source>
        <translation>fastest</translation>
    </message>
    <message>
        <source>меньше пересадок</source>
        <translation>fewest changes</translation>
    </message>
    <message>
        <source> и </source>
        <translation> and </translation>
    </message>
    <message>
        <source>пешком</source>
        <translation>walk</translation>
    </message>
    <message>
        <source>Пересадка: %1, %2 мин</source>
        <translation>Change: %1, %2 min</translation>
    </message>
    <message>
        <source>Пешком: %1 → %2, %3 мин</source>
        <translation>Walk: %1 → %2, %3 min</translation>
    </message>
    <message>
        <source>Проезд</source>
        <translation>Ride</translation>
    </message>
    <message>
        <source>%1: %2 → %3, %4 мин</source>
        <translation>%1: %2 → %3, %4 min</translation>
    </message>
</context>
<context>
    <name>LayoutCommands</name>
    <message>
        <source>Схема</source>
        <translation>&amp;Schematic</translation>
    </message>
    <message>
        <source>География</source>
        <translation>&amp;Geographic</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Выровнять</source>
        <translation>&amp;Align</translation>
    </message>
    <message>
        <source>По левому краю</source>
        <translation>&amp;Left</translation>
    </message>
    <message>
        <source>По центру</source>
        <translation>&amp;Centre</translation>
    </message>
    <message>
        <source>По правому краю</source>
        <translation>&amp;Right</translation>
    </message>
    <message>
        <source>По верхнему краю</source>
        <translation>&amp;Top</translation>
    </message>
    <message>
        <source>По середине</source>
        <translation>&amp;Middle</translation>
    </message>
    <message>
        <source>По нижнему краю</source>
        <translation>&amp;Bottom</translation>
    </message>
    <message>
        <source>Распределить</source>
        <translation>Dis&amp;tribute</translation>
    </message>
    <message>
        <source>По горизонтали</source>
        <translation>&amp;Horizontally</translation>
    </message>
    <message>
        <source>По вертикали</source>
        <translation>&amp;Vertically</translation>
    </message>
    <message>
        <source>История изменений</source>
        <translation>Edit &amp;History</translation>
    </message>
    <message>
        <source>&lt;открыта карта&gt;</source>
        <translation>&lt;map opened&gt;</translation>
    </message>
    <message>
        <source>Вырезать</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Вставить</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Дублировать</source>
        <translation>D&amp;uplicate</translation>
    </message>
    <message>
        <source>Сетка</source>
        <translation>&amp;Grid</translation>
    </message>
    <message>
        <source>Описание карты…</source>
        <translation>Map &amp;Description…</translation>
    </message>
    <message>
        <source>По расписанию</source>
        <translation>By &amp;Timetable</translation>
    </message>
    <message>
        <source>Искать поездку по расписанию от выбранного времени</source>
        <translation>Find a journey by the timetable from the time chosen</translation>
    </message>
    <message>
        <source>Поездка</source>
        <translation>Journey</translation>
    </message>
    <message>
        <source>Панель поездки: откуда, куда и найденные пути</source>
        <translation>The journey panel: from, to and the ways found</translation>
    </message>
    <message>
        <source>Чтение набора GTFS...</source>
        <translation>Reading the GTFS feed...</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Импорт GTFS</source>
        <translation>GTFS Import</translation>
    </message>
    <message>
        <source>Импорт GTFS: %1</source>
        <translation>GTFS Import: %1</translation>
    </message>
    <message>
        <source>Импорт прерван</source>
        <translation>Import cancelled</translation>
    </message>
    <message>
        <source>Не удалось импортировать набор GTFS %1:
%2</source>
        <translation>Could not import the GTFS feed %1:
%2</translation>
    </message>
    <message>
        <source>остановка %1 на карте «%2»</source>
        <translation>stop %1 on the map “%2”</translation>
    </message>
    <message>
        <source>Не найдено с прошлого раза: %1</source>
        <translation>Not found since last time: %1</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Открыть карту</source>
        <translation>Open a map</translation>
    </message>
    <message>
        <source>Импорт GTFS…</source>
        <translation>&amp;Import GTFS…</translation>
    </message>
    <message>
        <source>Создать карту из расписания в формате GTFS</source>
        <translation>Make a map from a timetable in GTFS format</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Сохранить карту</source>
        <translation>Save the map</translation>
    </message>
    <message>
        <source>Сохранить как</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>Сохранить карту под новым именем</source>
        <translation>Save the map under a new name</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Закрыть активное окно</source>
        <translation>Close the active window</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Выход из программы</source>
        <translation>Quit the program</translation>
    </message>
    <message>
        <source>Активные окна</source>
        <translation>Active windows</translation>
    </message>
    <message>
        <source>Каскадом</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>Выравнивание каскадом</source>
        <translation>Arrange the windows in a cascade</translation>
    </message>
    <message>
        <source>Свернуть все</source>
        <translation>&amp;Minimize All</translation>
    </message>
    <message>
        <source>Свернуть все окна</source>
        <translation>Minimize all windows</translation>
    </message>
    <message>
        <source>Выравнивание по горизонтали</source>
        <translation>Tile the windows horizontally</translation>
    </message>
    <message>
        <source>Выравнивание по вертикали</source>
        <translation>Tile the windows vertically</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Сведения о программе</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>Указатель</source>
        <translation>Pointer</translation>
    </message>
    <message>
        <source>Режим просмотра</source>
        <translation>Viewing mode</translation>
    </message>
    <message>
        <source>Добавить вершину</source>
        <translation>Add Stop</translation>
    </message>
    <message>
        <source>Создание остановки</source>
        <translation>Add a stop</translation>
    </message>
    <message>
        <source>Добавить ребро</source>
        <translation>Add Road</translation>
    </message>
    <message>
        <source>Создание дороги</source>
        <translation>Add a road</translation>
    </message>
    <message>
        <source>Удалить ребро</source>
        <translation>Delete Road</translation>
    </message>
    <message>
        <source>Удаление дороги</source>
        <translation>Delete a road</translation>
    </message>
    <message>
        <source>Изменить параметры дороги</source>
        <translation>Change Road Parameters</translation>
    </message>
    <message>
        <source>Поиск пути</source>
        <translation>Find Way</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Выбрать всё</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>Выбрать все остановки</source>
        <translation>Select all stops</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Удалить выделенные остановки</source>
        <translation>Delete the selected stops</translation>
    </message>
    <message>
        <source>Панель поиска</source>
        <translation>Search Panel</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Помощник</source>
        <translation>Assistant</translation>
    </message>
    <message>
        <source>Маршруты</source>
        <translation>Routes</translation>
    </message>
    <message>
        <source>Режим редактора</source>
        <translation>Editor mode</translation>
    </message>
    <message>
        <source>Информация об остановке</source>
        <translation>Stop information</translation>
    </message>
    <message>
        <source>Соавторы</source>
        <translation>&amp;Credits</translation>
    </message>
    <message>
        <source>Кратчайший путь</source>
        <translation>&amp;Shortest Way</translation>
    </message>
    <message>
        <source>Искать кратчайший путь</source>
        <translation>Find the shortest way</translation>
    </message>
    <message>
        <source>Быстрейший путь</source>
        <translation>&amp;Fastest Way</translation>
    </message>
    <message>
        <source>Искать быстрейший путь</source>
        <translation>Find the fastest way</translation>
    </message>
    <message>
        <source>Меньше пересадок</source>
        <translation>Fewest &amp;Changes</translation>
    </message>
    <message>
        <source>Искать путь с меньшим числом пересадок</source>
        <translation>Find the way with the fewest changes</translation>
    </message>
    <message>
        <source>Увеличить</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Увеличить масштаб карты</source>
        <translation>Zoom the map in</translation>
    </message>
    <message>
        <source>Уменьшить</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>Уменьшить масштаб карты</source>
        <translation>Zoom the map out</translation>
    </message>
    <message>
        <source>Масштаб 100 %</source>
        <translation>Zoom &amp;100 %</translation>
    </message>
    <message>
        <source>Карта в натуральную величину</source>
        <translation>The map at its actual size</translation>
    </message>
    <message>
        <source>По размеру окна</source>
        <translation>&amp;Fit to Window</translation>
    </message>
    <message>
        <source>Вся карта в окне</source>
        <translation>The whole map in the window</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Правка</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Управление</source>
        <translation>&amp;Maps</translation>
    </message>
    <message>
        <source>Сервис</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Критерий поиска</source>
        <translation>Search &amp;Criterion</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Окно</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Панель инструментов</source>
        <translation>Tool Bar</translation>
    </message>
    <message>
        <source>Карта Лирска :: 2006 г</source>
        <translation>Lirsk Map :: 2006</translation>
    </message>
    <message>
        <source>Отменить: %1</source>
        <translation>&amp;Undo: %1</translation>
    </message>
    <message>
        <source>Повторить: %1</source>
        <translation>&amp;Redo: %1</translation>
    </message>
    <message>
        <source>Без имени</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>Информация о программе</source>
        <translation>About the program</translation>
    </message>
    <message>
        <source>Режим ожидания</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Файл справки не найден: %1</source>
        <translation>The help file was not found: %1</translation>
    </message>
    <message>
        <source>Не удалось открыть справку: не найдена программа для просмотра HTML.
Справку можно открыть в любом браузере: %1</source>
        <translation>Could not open the help: no program to show HTML was found.
The help opens in any web browser: %1</translation>
    </message>
</context>
<context>
    <name>MapEdits</name>
    <message>
        <source>добавление остановки</source>
        <translation>adding a stop</translation>
    </message>
    <message>
        <source>удаление остановок</source>
        <translation>deleting stops</translation>
    </message>
    <message>
        <source>добавление дороги</source>
        <translation>adding a road</translation>
    </message>
    <message>
        <source>добавление дуги</source>
        <translation>adding an arc</translation>
    </message>
    <message>
        <source>удаление дороги</source>
        <translation>deleting a road</translation>
    </message>
    <message>
        <source>удаление дуги</source>
        <translation>deleting an arc</translation>
    </message>
    <message>
        <source>изменение параметров дороги</source>
        <translation>changing road parameters</translation>
    </message>
    <message>
        <source>свойства остановок</source>
        <translation>stop properties</translation>
    </message>
    <message>
        <source>настройки карты</source>
        <translation>map settings</translation>
    </message>
    <message>
        <source>описание карты</source>
        <translation>map description</translation>
    </message>
    <message>
        <source>схема</source>
        <translation>schematic</translation>
    </message>
    <message>
        <source>география</source>
        <translation>geography</translation>
    </message>
</context>
<context>
    <name>MapExport</name>
    <message>
        <source>рисунок размером %1 × %2 точек больше, чем %3 × %3</source>
        <translation>a picture of %1 × %2 pixels is larger than %3 × %3</translation>
    </message>
    <message>
        <source>файл должен оканчиваться на .svg, .pdf или .png</source>
        <translation>the file name must end in .svg, .pdf or .png</translation>
    </message>
</context>
<context>
    <name>MapExportDialog</name>
    <message>
        <source>Экспорт карты</source>
        <translation>Export Map</translation>
    </message>
    <message>
        <source>Вся карта</source>
        <translation>Whole map</translation>
    </message>
    <message>
        <source>Видимая часть</source>
        <translation>Part in view</translation>
    </message>
    <message>
        <source>Область:</source>
        <translation>Area:</translation>
    </message>
    <message>
        <source>Масштаб:</source>
        <translation>Scale:</translation>
    </message>
    <message>
        <source>PDF — векторы и текст</source>
        <translation>PDF — vectors and text</translation>
    </message>
    <message>
        <source>SVG — векторы и текст</source>
        <translation>SVG — vectors and text</translation>
    </message>
    <message>
        <source>PNG — рисунок</source>
        <translation>PNG — picture</translation>
    </message>
    <message>
        <source>Формат:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source> точек на дюйм</source>
        <translation> dots per inch</translation>
    </message>
    <message>
        <source>Разрешение:</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>Размер:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Обзор…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Файл:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Экспортировать</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>карта</source>
        <translation>map</translation>
    </message>
    <message>
        <source>%1 × %2 точек</source>
        <translation>%1 × %2 pixels</translation>
    </message>
    <message>
        <source>%1 × %2 мм</source>
        <translation>%1 × %2 mm</translation>
    </message>
    <message>
        <source>Файлы %1 (*.%2)</source>
        <translation>%1 files (*.%2)</translation>
    </message>
    <message>
        <source>Не удалось записать %1:
%2</source>
        <translation>Could not write %1:
%2</translation>
    </message>
</context>
<context>
    <name>MapMenus</name>
    <message>
        <source>Карта Лирска</source>
        <translation>&amp;Lirsk Map</translation>
    </message>
    <message>
        <source>Выбор карты</source>
        <translation>Choose a map</translation>
    </message>
    <message>
        <source>Карты метро России</source>
        <translation>&amp;Russian Metro Maps</translation>
    </message>
    <message>
        <source>Карта Н.Челнов</source>
        <translation>Naberezhnye Chelny Map</translation>
    </message>
    <message>
        <source>Метро</source>
        <translation>Metro</translation>
    </message>
    <message>
        <source>Автобусная</source>
        <translation>Bus</translation>
    </message>
    <message>
        <source>Автобусная карта Лирска</source>
        <translation>The bus map of Lirsk</translation>
    </message>
    <message>
        <source>Троллейбусная</source>
        <translation>Trolleybus</translation>
    </message>
    <message>
        <source>Троллейбусная карта Лирска</source>
        <translation>The trolleybus map of Lirsk</translation>
    </message>
    <message>
        <source>Трамвайная</source>
        <translation>Tram</translation>
    </message>
    <message>
        <source>Трамвайная карта Лирска</source>
        <translation>The tram map of Lirsk</translation>
    </message>
    <message>
        <source>Санкт-Петербург</source>
        <translation>Saint Petersburg</translation>
    </message>
    <message>
        <source>Лирск</source>
        <translation>Lirsk</translation>
    </message>
    <message>
        <source>Москва</source>
        <translation>Moscow</translation>
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
        <source>Самара</source>
        <translation>Samara</translation>
    </message>
    <message>
        <source>Карта лирского метро</source>
        <translation>Lirsk Metro Map</translation>
    </message>
    <message>
        <source>Автобусная карта</source>
        <translation>Bus Map</translation>
    </message>
    <message>
        <source>Троллейбусная карта</source>
        <translation>Trolleybus Map</translation>
    </message>
    <message>
        <source>Трамвайная карта</source>
        <translation>Tram Map</translation>
    </message>
    <message>
        <source>Карта метро Санкт-Петербурга</source>
        <translation>Saint Petersburg Metro Map</translation>
    </message>
    <message>
        <source>Карта метро Лирск</source>
        <translation>Metro Map: Lirsk</translation>
    </message>
    <message>
        <source>Карта метро Москвы</source>
        <translation>Moscow Metro Map</translation>
    </message>
    <message>
        <source>Карта метро Екатеринбурга</source>
        <translation>Yekaterinburg Metro Map</translation>
    </message>
    <message>
        <source>Карта метро Самара</source>
        <translation>Metro Map: Samara</translation>
    </message>
    <message>
        <source>Трамвайная карта Набережных Челнов</source>
        <translation>Naberezhnye Chelny Tram Map</translation>
    </message>
</context>
<context>
    <name>MapPrint</name>
    <message>
        <source>Экспорт…</source>
        <translation>&amp;Export…</translation>
    </message>
    <message>
        <source>Сохранить карту как SVG, PDF или рисунок PNG</source>
        <translation>Save the map as SVG, PDF or a PNG picture</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>&amp;Print…</translation>
    </message>
    <message>
        <source>Напечатать карту</source>
        <translation>Print the map</translation>
    </message>
    <message>
        <source>АБВГДЕЖИКЛМНОПРСТУФХЦЧШЭЮЯ</source>
        <extracomment>The letters that name the rows of printed sheets, in their order.</extracomment>
        <translation>ABCDEFGHJKLMNPQRSTUVWXYZ</translation>
    </message>
    <message>
        <source>%1 — лист %2 (%3 из %4)</source>
        <translation>%1 — sheet %2 (%3 of %4)</translation>
    </message>
    <message>
        <source>Печать карты</source>
        <translation>Print Map</translation>
    </message>
    <message>
        <source>По размеру страницы</source>
        <translation>Fit to the page</translation>
    </message>
    <message>
        <source>На нескольких листах</source>
        <translation>On several sheets</translation>
    </message>
    <message>
        <source>Только видимая часть</source>
        <translation>Only the part in view</translation>
    </message>
    <message>
        <source>Параметры страницы…</source>
        <translation>Page Setup…</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Масштаб:</source>
        <translation>Scale:</translation>
    </message>
</context>
<context>
    <name>MapWindow</name>
    <message>
        <source>X: %1  Y: %2</source>
        <translation>X: %1  Y: %2</translation>
    </message>
    <message>
        <source>Копия карты сделана без её описания; взято описание из файла %1.</source>
        <translation>The map&apos;s copy was made without its description; the description was taken from the file %1.</translation>
    </message>
    <message>
        <source>Не удалось прочитать расписание карты %1; карта открыта без него.
%2</source>
        <translation>Could not read the map&apos;s timetable %1; the map was opened without it.
%2</translation>
    </message>
    <message>
        <source>Карта изменена после составления расписания (%1): поиск по расписанию выключен</source>
        <translation>The map was changed after its timetable was made (%1): search by the timetable is off</translation>
    </message>
    <message>
        <source>Файл %1 — встроенная карта программы, его нельзя перезаписать. Сохраните карту под другим именем.</source>
        <translation>The file %1 is a built-in map of the program and cannot be overwritten. Save the map under another name.</translation>
    </message>
    <message>
        <source>Открытие файла, ждите...</source>
        <translation>Opening the file, please wait...</translation>
    </message>
    <message>
        <source>Это не файл: %1</source>
        <translation>Not a file: %1</translation>
    </message>
    <message>
        <source>Файл не найден: %1</source>
        <translation>File not found: %1</translation>
    </message>
    <message>
        <source>Ошибка открытия файла!</source>
        <translation>Error opening the file!</translation>
    </message>
    <message>
        <source>Не удалось прочитать описание карты; карта открыта без него.
%1</source>
        <translation>Could not read the map&apos;s description; the map was opened without it.
%1</translation>
    </message>
    <message>
        <source>Не удалось загрузить фоновый рисунок %1:
%2</source>
        <translation>Could not load the background picture %1:
%2</translation>
    </message>
    <message>
        <source>Не удалось сохранить карту в файл %1:
%2</source>
        <translation>Could not save the map to the file %1:
%2</translation>
    </message>
    <message>
        <source>Сохранить изменения в карте «%1»?</source>
        <translation>Save the changes to the map “%1”?</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>папку %1 не удалось создать</source>
        <translation>the folder %1 could not be created</translation>
    </message>
    <message>
        <source>копию %1 держит другая копия программы</source>
        <translation>the copy %1 is held by another instance of the program</translation>
    </message>
    <message>
        <source>файл блокировки не создаётся</source>
        <translation>the lock file cannot be created</translation>
    </message>
    <message>
        <source>%1 — ссылка или не обычный файл, она оставлена на месте</source>
        <translation>%1 is a link or not a regular file; it was left in place</translation>
    </message>
    <message>
        <source>не читается</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>Восстановление карт</source>
        <translation>Map Recovery</translation>
    </message>
    <message>
        <source>Программа была закрыта, не сохранив изменения в карте:
%1

Восстановить её?</source>
        <translation>The program closed without saving the changes to the map:
%1

Recover it?</translation>
    </message>
    <message>
        <source>Восстановить</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Позже</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Копию карты %1 восстановить нельзя (%2); она оставлена на месте.</source>
        <translation>The map copy %1 cannot be recovered (%2); it was left in place.</translation>
    </message>
    <message>
        <source>Удалить копии карт? Несохранённые изменения в них будут потеряны:
%1</source>
        <translation>Delete the map copies? The unsaved changes in them will be lost:
%1</translation>
    </message>
    <message>
        <source>Не удалось записать копию карты на случай сбоя:
%1</source>
        <translation>Could not write the map&apos;s crash copy:
%1</translation>
    </message>
    <message>
        <source>«%1», записана %2</source>
        <translation>“%1”, written %2</translation>
    </message>
</context>
<context>
    <name>RoadParametersDialog</name>
    <message>
        <source>Параметры дороги</source>
        <translation>Road Parameters</translation>
    </message>
    <message>
        <source>Стоимость проезда:</source>
        <translation>Fare:</translation>
    </message>
    <message>
        <source>руб.</source>
        <translation>rub.</translation>
    </message>
    <message>
        <source>Стоимость пути</source>
        <translation>Fare</translation>
    </message>
    <message>
        <source>Длина пути:</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>м.</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Длина пути</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Время в пути:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>сек.</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Вес введён неверно!</source>
        <translation>The weight is not a valid number!</translation>
    </message>
</context>
<context>
    <name>RouteReportDialog</name>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Экспорт в PDF</source>
        <translation>Export to PDF</translation>
    </message>
    <message>
        <source>Отчет</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Стоимость пути: </source>
        <translation>Fare: </translation>
    </message>
    <message>
        <source>Время в пути:       </source>
        <translation>Time: </translation>
    </message>
    <message>
        <source>Длина пути:           </source>
        <translation>Length: </translation>
    </message>
    <message>
        <source>Проезд маршрутами :</source>
        <translation>Rides:</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>RouteTypeDialog</name>
    <message>
        <source>Трамвай</source>
        <translation>Tram</translation>
    </message>
    <message>
        <source>Метро</source>
        <translation>Metro</translation>
    </message>
    <message>
        <source>Железная дорога</source>
        <translation>Rail</translation>
    </message>
    <message>
        <source>Автобус</source>
        <translation>Bus</translation>
    </message>
    <message>
        <source>Паром</source>
        <translation>Ferry</translation>
    </message>
    <message>
        <source>Канатный трамвай</source>
        <translation>Cable tram</translation>
    </message>
    <message>
        <source>Канатная дорога</source>
        <translation>Aerial lift</translation>
    </message>
    <message>
        <source>Фуникулёр</source>
        <translation>Funicular</translation>
    </message>
    <message>
        <source>Троллейбус</source>
        <translation>Trolleybus</translation>
    </message>
    <message>
        <source>Монорельс</source>
        <translation>Monorail</translation>
    </message>
    <message>
        <source>Тип %1</source>
        <translation>Type %1</translation>
    </message>
    <message>
        <source>Импорт GTFS</source>
        <translation>GTFS Import</translation>
    </message>
    <message>
        <source>Какие маршруты взять в карту:</source>
        <translation>Which routes to take into the map:</translation>
    </message>
    <message>
        <source>%1 — маршрутов: %2</source>
        <translation>%1 — routes: %2</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Карта Лирска</source>
        <translation>Lirsk Map</translation>
    </message>
    <message>
        <source>2006 г</source>
        <translation>2006</translation>
    </message>
</context>
<context>
    <name>StopPanel</name>
    <message>
        <source>Остановка</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Найти остановку (Enter; следующая — F3)</source>
        <translation>Find a stop (Enter; the next one: F3)</translation>
    </message>
    <message>
        <source>Маршруты</source>
        <translation>Routes</translation>
    </message>
    <message>
        <source>Маршрут</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>Маршрут отсюда</source>
        <translation>Route from Here</translation>
    </message>
    <message>
        <source>Маршрут сюда</source>
        <translation>Route to Here</translation>
    </message>
    <message>
        <source>Остановка «%1» не найдена</source>
        <translation>Stop “%1” not found</translation>
    </message>
    <message>
        <source>Поиск завершен!<byte value="xd"/>
Совпадение не найдено</source>
        <translation>Search finished!<byte value="xd"/>
No match was found</translation>
    </message>
    <message>
        <source>Поиск завершен!<byte value="xd"/>
Совпадение найдено</source>
        <translation>Search finished!<byte value="xd"/>
A match was found</translation>
    </message>
    <message>
        <source>Остановка %1</source>
        <translation>Stop %1</translation>
    </message>
</context>
<context>
    <name>StopPropertiesDialog</name>
    <message>
        <source>Центр (x, y):</source>
        <translation>Centre (x, y):</translation>
    </message>
    <message>
        <source>Параметры остановки</source>
        <translation>Stop Properties</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Название вершины:</source>
        <translation>Stop name:</translation>
    </message>
    <message>
        <source>Размер вершины:</source>
        <translation>Stop size:</translation>
    </message>
    <message>
        <source>Id вершины:</source>
        <translation>Stop id:</translation>
    </message>
    <message>
        <source>Показывать название вершины</source>
        <translation>Show the stop&apos;s name</translation>
    </message>
    <message>
        <source>Цвет вершины:</source>
        <translation>Stop colour:</translation>
    </message>
    <message>
        <source>Шрифт вершины:</source>
        <translation>Stop font:</translation>
    </message>
    <message>
        <source>Название вершины</source>
        <translation>Stop name</translation>
    </message>
    <message>
        <source>Цвет названия:</source>
        <translation>Name colour:</translation>
    </message>
    <message>
        <source>Маршруты:</source>
        <translation>Routes:</translation>
    </message>
    <message>
        <source>Размер вершины должен быть целым числом от %1 до %2.</source>
        <translation>The stop size must be a whole number from %1 to %2.</translation>
    </message>
</context>
<context>
    <name>StopRoutesPopup</name>
    <message>
        <source>Маршруты</source>
        <translation>Routes</translation>
    </message>
    <message>
        <source>Остановка:</source>
        <translation>Stop:</translation>
    </message>
</context>
<context>
    <name>SystemDesktopDialogs</name>
    <message>
        <source>Файл программы (*.gaf);;Все файлы (*)</source>
        <translation>Map files (*.gaf);;All files (*)</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Сохранить как</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Файл %1 уже существует.
Заменить?</source>
        <translation>The file %1 already exists.
Replace it?</translation>
    </message>
    <message>
        <source>Импорт GTFS</source>
        <translation>GTFS Import</translation>
    </message>
    <message>
        <source>Набор GTFS: архив zip или файл .txt из его папки (*.zip *.txt);;Все файлы (*)</source>
        <translation>GTFS feed: a zip archive or a .txt file of its folder (*.zip *.txt);;All files (*)</translation>
    </message>
</context>
<context>
    <name>WayPlanner</name>
    <message>
        <source>Раньше %1 за %2 ч поездок нет.</source>
        <translation>No journeys in the %2 h before %1.</translation>
    </message>
    <message>
        <source>Пути нет: по расписанию не доехать за сутки от %1.</source>
        <translation>No way: by the timetable it cannot be reached within a day from %1.</translation>
    </message>
    <message>
        <source>Пути нет</source>
        <translation>No way</translation>
    </message>
</context>
<context>
    <name>lirsk::MapDescriptionDialog</name>
    <message>
        <source>Описание карты</source>
        <translation>Map Description</translation>
    </message>
    <message>
        <source>Название:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Буква, с которой начинаются коды маршрутов в списках остановок</source>
        <translation>The letter the route codes in the stops&apos; route lists start with</translation>
    </message>
    <message>
        <source>Буква карты:</source>
        <translation>Map letter:</translation>
    </message>
    <message>
        <source>Стоимость проезда:</source>
        <translation>Fare:</translation>
    </message>
    <message>
        <source>Доплата за пересадку:</source>
        <translation>Transfer fare:</translation>
    </message>
    <message>
        <source>Денежная единица:</source>
        <translation>Currency unit:</translation>
    </message>
    <message>
        <source> пикс.</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Шаг сетки:</source>
        <translation>Grid step:</translation>
    </message>
    <message>
        <source>Фоновый рисунок:</source>
        <translation>Background picture:</translation>
    </message>
    <message>
        <source>Фоновый рисунок</source>
        <translation>Background Picture</translation>
    </message>
    <message>
        <source>Рисунки (*.jpg *.jpeg *.png *.bmp);;Все файлы (*)</source>
        <translation>Pictures (*.jpg *.jpeg *.png *.bmp);;All files (*)</translation>
    </message>
    <message>
        <source>Код</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Выше</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Ниже</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Маршрут в строке %1: цвет «%2» не вида #RRGGBB.</source>
        <translation>The route in row %1: the colour “%2” is not of the form #RRGGBB.</translation>
    </message>
</context>
<context>
    <name>lirsk::MapEditor</name>
    <message>
        <source>Отмечено слишком много остановок для буфера обмена (больше 64 МБ)</source>
        <translation>Too many stops are marked for the clipboard (more than 64 MB)</translation>
    </message>
    <message>
        <source>вырезание остановок</source>
        <translation>cutting stops</translation>
    </message>
    <message>
        <source>вставка остановок</source>
        <translation>pasting stops</translation>
    </message>
    <message>
        <source>дублирование остановок</source>
        <translation>duplicating stops</translation>
    </message>
    <message>
        <source>сдвиг остановок</source>
        <translation>nudging stops</translation>
    </message>
    <message>
        <source>выравнивание остановок</source>
        <translation>aligning stops</translation>
    </message>
    <message>
        <source>распределение остановок</source>
        <translation>distributing stops</translation>
    </message>
    <message>
        <source>Маршрут отсюда</source>
        <translation>Route from Here</translation>
    </message>
    <message>
        <source>Маршрут сюда</source>
        <translation>Route to Here</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Свойства</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Режим просмотра</source>
        <translation>Viewing mode</translation>
    </message>
    <message>
        <source>Добавление остановки (щёлкните левой кнопкой мыши на рабочее поле, чтобы добавить остановку)</source>
        <translation>Adding stops (click the left mouse button on the map to add a stop)</translation>
    </message>
    <message>
        <source>Добавление дуги (укажите левой кнопкой мыши вершину из которой исходит дуга, затем в какую вершину входит)</source>
        <translation>Adding arcs (point with the left mouse button at the stop the arc leaves, then at the stop it enters)</translation>
    </message>
    <message>
        <source>Удаление дуги (укажите левой кнопкой мыши вершину из которой исходит дуга, затем в какую вершину входит)</source>
        <translation>Deleting arcs (point with the left mouse button at the stop the arc leaves, then at the stop it enters)</translation>
    </message>
    <message>
        <source>Добавление дороги (укажите левой кнопкой мыши остановку из которой исходит дорога, затем в какую входит)</source>
        <translation>Adding roads (point with the left mouse button at the stop the road leaves, then at the stop it enters)</translation>
    </message>
    <message>
        <source>Удаление дороги (укажите левой кнопкой мыши остановку из которой исходит дорога, затем в какую входит)</source>
        <translation>Deleting roads (point with the left mouse button at the stop the road leaves, then at the stop it enters)</translation>
    </message>
    <message>
        <source>Изменение параметров дороги (укажите левой кнопкой мыши остановку из которой исходит дорога, затем в какую входит)</source>
        <translation>Changing road parameters (point with the left mouse button at the stop the road leaves, then at the stop it enters)</translation>
    </message>
    <message>
        <source>Поиск не возможен, т.к. нет исходных данных.</source>
        <translation>No search is possible: the map holds no data.</translation>
    </message>
    <message>
        <source>Оптимальный путь (укажите левой кнопкой мыши остановку отправления, затем не отпуская кнопку к какой остановке следует найти путь)</source>
        <translation>Best way (press the left mouse button on the departure stop, then, keeping it pressed, move to the stop the way should lead to)</translation>
    </message>
    <message>
        <source>Просмотр информации об остановки</source>
        <translation>Viewing stop information</translation>
    </message>
    <message>
        <source>Перерисовка карты, ждите...</source>
        <translation>Redrawing the map, please wait...</translation>
    </message>
    <message>
        <source>перемещение названия</source>
        <translation>moving a name</translation>
    </message>
    <message>
        <source>перемещение остановок</source>
        <translation>moving stops</translation>
    </message>
    <message>
        <source>свойства остановок</source>
        <translation>stop properties</translation>
    </message>
    <message>
        <source>Отчет — по расписанию</source>
        <translation>Report — by the timetable</translation>
    </message>
    <message>
        <source>Отчет</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Отчет — быстрейший путь</source>
        <translation>Report — fastest way</translation>
    </message>
    <message>
        <source>Отчет — меньше пересадок</source>
        <translation>Report — fewest changes</translation>
    </message>
</context>
</TS>
