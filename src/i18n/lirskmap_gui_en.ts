<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>GtfsImportJob</name>
    <message>
        <source>не удалось запустить программу импорта %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось создать временную папку: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>программа импорта завершилась аварийно%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>программа импорта завершилась с кодом %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Расписание не прочитано: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>программа импорта не записала описание карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>программа импорта не сообщила, что есть в наборе</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JourneyPanel</name>
    <message>
        <source>остановка отправления</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановка прибытия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поменять местами</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Откуда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Куда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Когда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время отправления по часам расписания</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сейчас</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отправление сейчас (в период действия расписания)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>‹ Раньше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поездки с более ранним отправлением</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Позже ›</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поездки с более поздним отправлением</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Укажите, откуда и куда ехать: начните вводить название или протяните мышью от остановки к остановке на карте.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Укажите, %1 ехать.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>откуда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>куда</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Откуда и куда — одна и та же остановка.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поиск пути…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время отправления по часам расписания (%1); расписание действует с %2 по %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LayoutCommands</name>
    <message>
        <source>Схема</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>География</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Выровнять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По левому краю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По центру</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По правому краю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По верхнему краю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По середине</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По нижнему краю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Распределить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По горизонтали</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По вертикали</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>История изменений</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;открыта карта&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вырезать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вставить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дублировать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сетка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Описание карты…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По расписанию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Искать поездку по расписанию от выбранного времени</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поездка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Панель поездки: откуда, куда и найденные пути</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Чтение набора GTFS...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт GTFS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт GTFS: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт прерван</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось импортировать набор GTFS %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>остановка %1 на карте «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не найдено с прошлого раза: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapDescriptionDialog</name>
    <message>
        <source>Описание карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Название:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Буква, с которой начинаются коды маршрутов в списках остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Буква карты:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стоимость проезда:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Доплата за пересадку:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Денежная единица:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> пикс.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Шаг сетки:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Фоновый рисунок:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Фоновый рисунок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Рисунки (*.jpg *.jpeg *.png *.bmp);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Код</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Название</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выше</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ниже</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Маршрут в строке %1: цвет «%2» не вида #RRGGBB.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapEditor</name>
    <message>
        <source>Отмечено слишком много остановок для буфера обмена (больше 64 МБ)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>вырезание остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>вставка остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>дублирование остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сдвиг остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выравнивание остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>распределение остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>перемещение названия</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>перемещение остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>свойства остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отчет — по расписанию</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapEdits</name>
    <message>
        <source>добавление остановки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>удаление остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>добавление дороги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>добавление дуги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>удаление дороги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>удаление дуги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>изменение параметров дороги</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>свойства остановок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>настройки карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>описание карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>схема</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>география</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapExport</name>
    <message>
        <source>рисунок размером %1 × %2 точек больше, чем %3 × %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл должен оканчиваться на .svg, .pdf или .png</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapExportDialog</name>
    <message>
        <source>Экспорт карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вся карта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Видимая часть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Область:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Масштаб:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF — векторы и текст</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SVG — векторы и текст</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG — рисунок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Формат:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> точек на дюйм</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Разрешение:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Размер:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обзор…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспортировать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>карта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 точек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 мм</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файлы %1 (*.%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapPrintDialog</name>
    <message>
        <source>Печать карты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По размеру страницы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>На нескольких листах</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Только видимая часть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Параметры страницы…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Масштаб:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MapWindow</name>
    <message>
        <source>X: %1  Y: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Копия карты сделана без её описания; взято описание из файла %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось прочитать расписание карты %1; карта открыта без него.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Карта изменена после составления расписания (%1): поиск по расписанию выключен</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>папку %1 не удалось создать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>копию %1 держит другая копия программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл блокировки не создаётся</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — ссылка или не обычный файл, она оставлена на месте</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не читается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Восстановление карт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа была закрыта, не сохранив изменения в карте:
%1

Восстановить её?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Восстановить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Позже</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Копию карты %1 восстановить нельзя (%2); она оставлена на месте.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить копии карт? Несохранённые изменения в них будут потеряны:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RouteReportDialog</name>
    <message>
        <source>Печать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт в PDF</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StopPropertiesDialog</name>
    <message>
        <source>Центр (x, y):</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SystemDesktopDialogs</name>
    <message>
        <source>Файл программы (*.gaf);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить как</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл %1 уже существует.
Заменить?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт GTFS</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WayPlanner</name>
    <message>
        <source>Раньше %1 за %2 ч поездок нет.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пути нет: по расписанию не доехать за сутки от %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пути нет</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>lirsk</name>
    <message>
        <source>%1 мин.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>пешком</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>пересадка на ост. %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 → %2, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>проезд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поездка: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Стоимость пути: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длина пути: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время в пути: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пересадок: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Печать поездки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Экспорт в PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Документы PDF (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Печать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>без пересадок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 пересадка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 пересадки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 пересадок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ожидание: %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  Пешком: %2 → %3, %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№ %1 «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  %2
%3 → %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>кратчайший</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>быстрейший</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>меньше пересадок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> и </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пересадка: %1, %2 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пешком: %1 → %2, %3 мин</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Проезд</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 → %3, %4 мин</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
