<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Kvanta</name>
    <message>
        <source> Коэффициенты для расчета значений "Вес" </source>
        <translation> Coefficients for the "Weight" values </translation>
    </message>
    <message>
        <source> версия </source>
        <translation> version </translation>
    </message>
    <message>
        <source>+/- КРН</source>
        <translation>+/- KRN</translation>
    </message>
    <message>
        <source>+/- ПРД</source>
        <translation>+/- PRD</translation>
    </message>
    <message>
        <source>+/- СТФ</source>
        <translation>+/- STF</translation>
    </message>
    <message>
        <source>CSV-файлы (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Абсолютные значения эффективности</source>
        <translation>Absolute efficiency</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automatically</translation>
    </message>
    <message>
        <source>Автоматический поиск сервера (возможны задержки)</source>
        <translation>Find a server automatically (may take a while)</translation>
    </message>
    <message>
        <source>Адрес должен начинаться с http:// или https:// и содержать имя сайта</source>
        <translation>The address must start with http:// or https:// and name a site</translation>
    </message>
    <message>
        <source>Адрес сайта (путь к страницам архива добавляется к нему):</source>
        <translation>Site address (the path of the archive pages is added to it):</translation>
    </message>
    <message>
        <source>Адрес сайта лотереи</source>
        <translation>Lottery site address</translation>
    </message>
    <message>
        <source>Адрес сайта, с которого загружается архив тиражей</source>
        <translation>The site the draw archive is downloaded from</translation>
    </message>
    <message>
        <source>Альбомная</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>Архив тиражей</source>
        <translation>Draw archive</translation>
    </message>
    <message>
        <source>Больше не показывать данный диалог</source>
        <translation>Do not show this dialog again</translation>
    </message>
    <message>
        <source>Введите данные следующего тиража</source>
        <translation>Enter the next draw</translation>
    </message>
    <message>
        <source>Введите наименование фильтра:</source>
        <translation>Enter the filter name:</translation>
    </message>
    <message>
        <source>Введите числа, разделенные точкой с запятой или запятой</source>
        <translation>Enter numbers separated by semicolons or commas</translation>
    </message>
    <message>
        <source>Вернуть</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Вернуть наименование "по умолчанию"</source>
        <translation>Restore the default name</translation>
    </message>
    <message>
        <source>Вес</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Вид ставки</source>
        <translation>Stake kind</translation>
    </message>
    <message>
        <source>Вкладка "Регуляры"</source>
        <translation>"Regulars" tab</translation>
    </message>
    <message>
        <source>Внимание!</source>
        <translation>Attention!</translation>
    </message>
    <message>
        <source>Вперёд</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Все возможные комбинации</source>
        <translation>All possible combinations</translation>
    </message>
    <message>
        <source>Все доступные статистики</source>
        <translation>All available statistics</translation>
    </message>
    <message>
        <source>Вставить из буфера</source>
        <translation>Paste from clipboard</translation>
    </message>
    <message>
        <source>Выберите условие:</source>
        <translation>Choose a condition:</translation>
    </message>
    <message>
        <source>Выборка</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Выбрать все</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Выбрать группу</source>
        <translation>Select group</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Выпавшие числа, разделенные точкой с запятой или запятой:</source>
        <translation>Drawn numbers, separated by semicolons or commas:</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Генерировать</source>
        <translation>Generate</translation>
    </message>
    <message>
        <source>Глубина</source>
        <translation>Depth</translation>
    </message>
    <message>
        <source>Глубина в %</source>
        <translation>Depth %</translation>
    </message>
    <message>
        <source>Глубина:</source>
        <translation>Depth:</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>График идеального распределения</source>
        <translation>Ideal distribution chart</translation>
    </message>
    <message>
        <source>График количества совпадений для всех ставок по тиражам</source>
        <translation>Matches of all stakes by draw</translation>
    </message>
    <message>
        <source>График количества совпадений для выделенных строк рейтинга</source>
        <translation>Matches of the selected rating rows</translation>
    </message>
    <message>
        <source>График профита для всех ставок по тиражам</source>
        <translation>Profit of all stakes by draw</translation>
    </message>
    <message>
        <source>График профита ставок</source>
        <translation>Stake profit chart</translation>
    </message>
    <message>
        <source>График совпадений ставок</source>
        <translation>Stake matches chart</translation>
    </message>
    <message>
        <source>График суммарного профита ставок по тиражам</source>
        <translation>Total stake profit by draw</translation>
    </message>
    <message>
        <source>Графики</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Дата и время тиража:</source>
        <translation>Draw date and time:</translation>
    </message>
    <message>
        <source>Дата тиража</source>
        <translation>Draw date</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Добавить в сценарий</source>
        <translation>Add to scenario</translation>
    </message>
    <message>
        <source>Добавить данные тиража вручную</source>
        <translation>Add a draw by hand</translation>
    </message>
    <message>
        <source>Добавить разделитель</source>
        <translation>Add separator</translation>
    </message>
    <message>
        <source>Добавить регулярную ставку</source>
        <translation>Add a regular stake</translation>
    </message>
    <message>
        <source>Добавить сценарий</source>
        <translation>Add scenario</translation>
    </message>
    <message>
        <source>Добавить фильтры</source>
        <translation>Add filters</translation>
    </message>
    <message>
        <source>Добавление мультиставки</source>
        <translation>Adding a multi-stake</translation>
    </message>
    <message>
        <source>Добавление регулярной ставки</source>
        <translation>Adding a regular stake</translation>
    </message>
    <message>
        <source>Добавление ставки</source>
        <translation>Adding a stake</translation>
    </message>
    <message>
        <source>Журнал выполнения сценария</source>
        <translation>Scenario run log</translation>
    </message>
    <message>
        <source>Журналы ставок</source>
        <translation>Stake logs</translation>
    </message>
    <message>
        <source>Заголовок:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Загрузка</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Загрузка архива тиражей с сайта лотереи</source>
        <translation>Download the draw archive from the lottery site</translation>
    </message>
    <message>
        <source>Загрузка тиражей при запуске</source>
        <translation>Download draws at start-up</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Значение:</source>
        <translation>Value:</translation>
    </message>
    <message>
        <source>Значения:</source>
        <translation>Values:</translation>
    </message>
    <message>
        <source>Избранные статистики</source>
        <translation>Favourite statistics</translation>
    </message>
    <message>
        <source>Изменить</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Изменить данные тиража вручную</source>
        <translation>Edit the draw by hand</translation>
    </message>
    <message>
        <source>Импорт из CSV-файла</source>
        <translation>Import from CSV file</translation>
    </message>
    <message>
        <source>Импорт названий</source>
        <translation>Import names</translation>
    </message>
    <message>
        <source>Импорт названий фильтров из файла</source>
        <translation>Import filter names from a file</translation>
    </message>
    <message>
        <source>Импорт списка тиражей из CSV-файла</source>
        <translation>Import draws from a CSV file</translation>
    </message>
    <message>
        <source>Имя или адрес сервера:</source>
        <translation>Server name or address:</translation>
    </message>
    <message>
        <source>Имя листа:</source>
        <translation>Sheet name:</translation>
    </message>
    <message>
        <source>Имя пользователя (не обязательно)</source>
        <translation>User name (optional)</translation>
    </message>
    <message>
        <source>Имя пользователя:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>Информация</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Исключить тиражей:</source>
        <translation>Exclude draws:</translation>
    </message>
    <message>
        <source>Исключить тиражи</source>
        <translation>Exclude draws</translation>
    </message>
    <message>
        <source>Исключить указанное количество последних тиражей из списка комбинаций</source>
        <translation>Exclude this many latest draws from the combination list</translation>
    </message>
    <message>
        <source>Использовать абсолютные значения</source>
        <translation>Use absolute values</translation>
    </message>
    <message>
        <source>Использовать данные предыдущего тиража</source>
        <translation>Use the previous draw</translation>
    </message>
    <message>
        <source>Использовать значения в %</source>
        <translation>Use values in %</translation>
    </message>
    <message>
        <source>Использовать постоянную стартовую комбинацию:</source>
        <translation>Use a fixed start combination:</translation>
    </message>
    <message>
        <source>Использовать режим одновременного выделения нескольких значений в списке</source>
        <translation>Select several values of the list at once</translation>
    </message>
    <message>
        <source>Использовать собственные коэффициенты</source>
        <translation>Use own coefficients</translation>
    </message>
    <message>
        <source>Использовать сравнение с полным набором комбинаций</source>
        <translation>Compare with the full combination set</translation>
    </message>
    <message>
        <source>Используемая формула</source>
        <translation>Formula used</translation>
    </message>
    <message>
        <source>Карта</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>Клонировать</source>
        <translation>Clone</translation>
    </message>
    <message>
        <source>Книги Microsoft Excel (*.xlsx)</source>
        <translation>Microsoft Excel workbooks (*.xlsx)</translation>
    </message>
    <message>
        <source>Книжная</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Кол-во в %</source>
        <translation>Count %</translation>
    </message>
    <message>
        <source>Кол-во тиражей:</source>
        <translation>Draws:</translation>
    </message>
    <message>
        <source>Количество</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Количество используемых знаков после запятой</source>
        <translation>Decimal places used</translation>
    </message>
    <message>
        <source>Количество совпадений</source>
        <translation>Matches</translation>
    </message>
    <message>
        <source>Количество столбцов</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Количество столбцов:</source>
        <translation>Columns:</translation>
    </message>
    <message>
        <source>Количество строк</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>Количество тестов</source>
        <translation>Number of tests</translation>
    </message>
    <message>
        <source>Количество тиражей, использующихся для расчета статистики</source>
        <translation>Draws used for the statistics</translation>
    </message>
    <message>
        <source>Количество тиражей:</source>
        <translation>Draws:</translation>
    </message>
    <message>
        <source>Количество уникальных номеров</source>
        <translation>Distinct numbers</translation>
    </message>
    <message>
        <source>Количество:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Комбинации</source>
        <translation>Combinations</translation>
    </message>
    <message>
        <source>Комментарии:</source>
        <translation>Comments:</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Комментарий к ставке:</source>
        <translation>Stake comment:</translation>
    </message>
    <message>
        <source>Копировать в буфер</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Коэффициенты для поля "Вес"</source>
        <translation>Coefficients of the "Weight" column</translation>
    </message>
    <message>
        <source>Максимально допустимая расширенная ставка</source>
        <translation>Largest extended stake allowed</translation>
    </message>
    <message>
        <source>Менеджер избранных методов расчета статистики</source>
        <translation>Favourite statistic methods</translation>
    </message>
    <message>
        <source>Метод:</source>
        <translation>Method:</translation>
    </message>
    <message>
        <source>Методы шинковки</source>
        <translation>Shredding methods</translation>
    </message>
    <message>
        <source>Мои числа или имя файла для загрузки:</source>
        <translation>My numbers or a file to load:</translation>
    </message>
    <message>
        <source>Моя ставка</source>
        <translation>My stake</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Найти далее</source>
        <translation>Find next</translation>
    </message>
    <message>
        <source>Найти:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>Направление:</source>
        <translation>Direction:</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Начальный список комбинаций:</source>
        <translation>Start combination list:</translation>
    </message>
    <message>
        <source>Не использовать proxy-сервер</source>
        <translation>No proxy server</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Неделя</source>
        <translation>Week</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Номер тиража:</source>
        <translation>Draw number:</translation>
    </message>
    <message>
        <source>Норма</source>
        <translation>Norm</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Обновить рейтинг</source>
        <translation>Refresh rating</translation>
    </message>
    <message>
        <source>Ожд. КРН</source>
        <translation>Exp. KRN</translation>
    </message>
    <message>
        <source>Ожд. ПРД</source>
        <translation>Exp. PRD</translation>
    </message>
    <message>
        <source>Ожд. СТФ</source>
        <translation>Exp. STF</translation>
    </message>
    <message>
        <source>Ожидаемые значения совпадений</source>
        <translation>Expected matches</translation>
    </message>
    <message>
        <source>Описание</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Описание методики расчета</source>
        <translation>Method description</translation>
    </message>
    <message>
        <source>Описание статистики</source>
        <translation>Statistic description</translation>
    </message>
    <message>
        <source>Ориентация страницы:</source>
        <translation>Page orientation:</translation>
    </message>
    <message>
        <source>Оставить выделенные</source>
        <translation>Keep selected</translation>
    </message>
    <message>
        <source>Остановка по:</source>
        <translation>Stop on:</translation>
    </message>
    <message>
        <source>Откл-ие в %</source>
        <translation>Deviation %</translation>
    </message>
    <message>
        <source>Отклонение</source>
        <translation>Deviation</translation>
    </message>
    <message>
        <source>Отклонение:</source>
        <translation>Deviation:</translation>
    </message>
    <message>
        <source>Отключено</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Открыть файл после экспорта</source>
        <translation>Open the file after export</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Отметьте методы расчета статистики, которые Вы хотите использовать:</source>
        <translation>Tick the statistic methods you want to use:</translation>
    </message>
    <message>
        <source>Относительные значения эффективности</source>
        <translation>Relative efficiency</translation>
    </message>
    <message>
        <source>Отображать идентификатор группы { xxx } перед названием метода</source>
        <translation>Show the group id { xxx } before the method name</translation>
    </message>
    <message>
        <source>Отображать метки на графиках</source>
        <translation>Show marks on charts</translation>
    </message>
    <message>
        <source>Отображать особенности метода [ YYY ] после названия метода</source>
        <translation>Show the method flags [ YYY ] after the method name</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Параметры</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Параметры proxy-сервера</source>
        <translation>Proxy server</translation>
    </message>
    <message>
        <source>Параметры системы</source>
        <translation>System options</translation>
    </message>
    <message>
        <source>Параметры экспорта</source>
        <translation>Export options</translation>
    </message>
    <message>
        <source>Параметры экспорта...</source>
        <translation>Export options...</translation>
    </message>
    <message>
        <source>Пароль (не обязательно)</source>
        <translation>Password (optional)</translation>
    </message>
    <message>
        <source>Пароль:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Перегенерировать список комбинаций</source>
        <translation>Generate the combination list again</translation>
    </message>
    <message>
        <source>Переименование</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Переименовать</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Переименовать фильтр</source>
        <translation>Rename the filter</translation>
    </message>
    <message>
        <source>Переместить вверх</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Переместить вниз</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Пересчитать рейтинг по текущим ставкам</source>
        <translation>Rebuild the rating from the current stakes</translation>
    </message>
    <message>
        <source>Пересчитать статистику по выбранным параметрам</source>
        <translation>Recalculate the statistics with the chosen parameters</translation>
    </message>
    <message>
        <source>Период</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>Период max</source>
        <translation>Period max</translation>
    </message>
    <message>
        <source>Период min</source>
        <translation>Period min</translation>
    </message>
    <message>
        <source>По запросу (по умолчанию)</source>
        <translation>On request (default)</translation>
    </message>
    <message>
        <source>Повторы</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>Подождите пожалуйста...</source>
        <translation>Please wait...</translation>
    </message>
    <message>
        <source>Подробная информация</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Подтверждение</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Посл. тираж</source>
        <translation>Last draw</translation>
    </message>
    <message>
        <source>Поставить отметки у всех фильтров</source>
        <translation>Tick all filters</translation>
    </message>
    <message>
        <source>Поставить отметки у всех фильтров группы</source>
        <translation>Tick all filters of the group</translation>
    </message>
    <message>
        <source>Предупреждение</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Преобразовывать отрицательные значения в положительные</source>
        <translation>Turn negative values positive</translation>
    </message>
    <message>
        <source>При расчетах использовать значения в процентах</source>
        <translation>Calculate with percentages</translation>
    </message>
    <message>
        <source>Примечание:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>Проверить по архиву тиражей</source>
        <translation>Check against the draw archive</translation>
    </message>
    <message>
        <source>Проверить ставки</source>
        <translation>Check stakes</translation>
    </message>
    <message>
        <source>Проверять ставки после каждой строки сценария</source>
        <translation>Check stakes after every scenario line</translation>
    </message>
    <message>
        <source>Прогноз</source>
        <translation>Forecast</translation>
    </message>
    <message>
        <source>Прокручивать список при добавлении</source>
        <translation>Scroll the list when adding</translation>
    </message>
    <message>
        <source>Просмотр подробных сведений о тираже</source>
        <translation>Show the details of the draw</translation>
    </message>
    <message>
        <source>Профит</source>
        <translation>Profit</translation>
    </message>
    <message>
        <source>Размер канала:</source>
        <translation>Channel width:</translation>
    </message>
    <message>
        <source>Размер матрицы:</source>
        <translation>Matrix size:</translation>
    </message>
    <message>
        <source>Размер шрифта:</source>
        <translation>Font size:</translation>
    </message>
    <message>
        <source>Размеры выигрышей:</source>
        <translation>Prizes:</translation>
    </message>
    <message>
        <source>Распределение сумм тиражей и всех возможных комбинаций</source>
        <translation>Sums of the draws and of all possible combinations</translation>
    </message>
    <message>
        <source>Расширенная ставка:</source>
        <translation>Extended stake:</translation>
    </message>
    <message>
        <source>Регуляры</source>
        <translation>Regulars</translation>
    </message>
    <message>
        <source>Редактирование параметров системы</source>
        <translation>Edit the system options</translation>
    </message>
    <message>
        <source>Редактирование строки</source>
        <translation>Edit line</translation>
    </message>
    <message>
        <source>Режим выделения значений в списке статистики:</source>
        <translation>Selection in the statistics list:</translation>
    </message>
    <message>
        <source>Режим генерации списка комбинаций:</source>
        <translation>Combination list generation:</translation>
    </message>
    <message>
        <source>Режим фильтра:</source>
        <translation>Filter mode:</translation>
    </message>
    <message>
        <source>Результаты тиража</source>
        <translation>Draw result</translation>
    </message>
    <message>
        <source>Рейтинг</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>Ручной выбор proxy-сервера:</source>
        <translation>Proxy server chosen by hand:</translation>
    </message>
    <message>
        <source>Сайт лотереи</source>
        <translation>Lottery site</translation>
    </message>
    <message>
        <source>Сбросить все</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>Сбросить группу</source>
        <translation>Clear group</translation>
    </message>
    <message>
        <source>Сведения о комбинации</source>
        <translation>Combination details</translation>
    </message>
    <message>
        <source>Сведения о тираже</source>
        <translation>Draw details</translation>
    </message>
    <message>
        <source>Сверху-вниз</source>
        <translation>Top to bottom</translation>
    </message>
    <message>
        <source>Свойство</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Сделать случайную ставку</source>
        <translation>Random stake</translation>
    </message>
    <message>
        <source>Сделать ставки для всех комбинаций</source>
        <translation>Stake all combinations</translation>
    </message>
    <message>
        <source>Сделать ставки для выделенных комбинаций</source>
        <translation>Stake the selected combinations</translation>
    </message>
    <message>
        <source>Сделать ставку</source>
        <translation>Stake</translation>
    </message>
    <message>
        <source>Сделать ставку по регуляру</source>
        <translation>Stake the regular</translation>
    </message>
    <message>
        <source>Сегменты матрицы:</source>
        <translation>Matrix segments:</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Регуляры"</source>
        <translation>Hide / show the "Regulars" tab</translation>
    </message>
    <message>
        <source>Смещение назад:</source>
        <translation>Offset back:</translation>
    </message>
    <message>
        <source>Смещение относительно последнего загруженного номера тиража</source>
        <translation>Offset from the last downloaded draw</translation>
    </message>
    <message>
        <source>Снизу-вверх</source>
        <translation>Bottom to top</translation>
    </message>
    <message>
        <source>Снять отметки со всех фильтров</source>
        <translation>Untick all filters</translation>
    </message>
    <message>
        <source>Снять отметки со всех фильтров группы</source>
        <translation>Untick all filters of the group</translation>
    </message>
    <message>
        <source>Совпадений</source>
        <translation>Matches</translation>
    </message>
    <message>
        <source>Совпадения</source>
        <translation>Matched</translation>
    </message>
    <message>
        <source>Совпало</source>
        <translation>Matched</translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Создание нового списка комбинаций</source>
        <translation>New combination list</translation>
    </message>
    <message>
        <source>Создание новой строки</source>
        <translation>New line</translation>
    </message>
    <message>
        <source>Сортировать по столбцу:</source>
        <translation>Sort by column:</translation>
    </message>
    <message>
        <source>Сортировать списки по названию метода</source>
        <translation>Sort lists by method name</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить эти параметры для генерации комбинаций "по умолчанию"</source>
        <translation>Save these settings as the default generation</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Справочная информация</source>
        <translation>Getting started</translation>
    </message>
    <message>
        <source>Справочная информация о выделенном методе расчета статистики</source>
        <translation>Help on the selected statistic method</translation>
    </message>
    <message>
        <source>Ср. профит</source>
        <translation>Mean profit</translation>
    </message>
    <message>
        <source>Среднее</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Ставка "вручную"</source>
        <translation>Manual stake</translation>
    </message>
    <message>
        <source>Ставка:</source>
        <translation>Stake:</translation>
    </message>
    <message>
        <source>Ставки</source>
        <translation>Stakes</translation>
    </message>
    <message>
        <source>Ставок</source>
        <translation>Stakes</translation>
    </message>
    <message>
        <source>Стартовая комбинация</source>
        <translation>Start combination</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Стоимость ставки:</source>
        <translation>Stake cost:</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Сумма выигрыша</source>
        <translation>Prize</translation>
    </message>
    <message>
        <source>Сумма:</source>
        <translation>Sum:</translation>
    </message>
    <message>
        <source>Суммарный профит по тиражам</source>
        <translation>Total profit by draw</translation>
    </message>
    <message>
        <source>Схема</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>Сценарий</source>
        <translation>Scenario</translation>
    </message>
    <message>
        <source>Текущая комбинация</source>
        <translation>Current combination</translation>
    </message>
    <message>
        <source>Тест</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Тест регуляров</source>
        <translation>Regulars test</translation>
    </message>
    <message>
        <source>Тип фильтра:</source>
        <translation>Filter type:</translation>
    </message>
    <message>
        <source>Тираж</source>
        <translation>Draw</translation>
    </message>
    <message>
        <source>Тиражей:</source>
        <translation>Draws:</translation>
    </message>
    <message>
        <source>Тиражи</source>
        <translation>Draws</translation>
    </message>
    <message>
        <source>Только новые ставки (пропускать те ставки, которые уже есть в списке)</source>
        <translation>New stakes only (skip stakes already in the list)</translation>
    </message>
    <message>
        <source>Удаление по условию</source>
        <translation>Delete by condition</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Удалить все</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>Удалить все ставки</source>
        <translation>Delete all stakes</translation>
    </message>
    <message>
        <source>Удалить все ставки перед выполнением (накопление только рейтинга)</source>
        <translation>Delete all stakes before the run (keep only the rating)</translation>
    </message>
    <message>
        <source>Удалить выделенные</source>
        <translation>Delete selected</translation>
    </message>
    <message>
        <source>Удалить выделенные тиражи из списка</source>
        <translation>Delete the selected draws</translation>
    </message>
    <message>
        <source>Удалить журналы выполнения сценариев</source>
        <translation>Delete the scenario run logs</translation>
    </message>
    <message>
        <source>Удалить журналы ставок</source>
        <translation>Delete the stake logs</translation>
    </message>
    <message>
        <source>Удалить по условию</source>
        <translation>Delete by condition</translation>
    </message>
    <message>
        <source>Удалить регулярную ставку</source>
        <translation>Delete the regular stake</translation>
    </message>
    <message>
        <source>Удалить ставку</source>
        <translation>Delete the stake</translation>
    </message>
    <message>
        <source>Укажите количество последних тиражей, на которых будет производится тестирование</source>
        <translation>Number of latest draws to test on</translation>
    </message>
    <message>
        <source>Укажите количество тестов:</source>
        <translation>Number of tests:</translation>
    </message>
    <message>
        <source>Упорядочить MIN-&gt;MAX</source>
        <translation>Sort MIN-&gt;MAX</translation>
    </message>
    <message>
        <source>Упорядочить числа внутри тиража от меньшего к большему</source>
        <translation>Sort the numbers of each draw ascending</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Файлы комбинаций (*.lcv)</source>
        <translation>Combination files (*.lcv)</translation>
    </message>
    <message>
        <source>Файлы тиражей (*.csv)</source>
        <translation>Draw files (*.csv)</translation>
    </message>
    <message>
        <source>Факт</source>
        <translation>Actual</translation>
    </message>
    <message>
        <source>Фактические данные</source>
        <translation>Actual data</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Фильтр %1:</source>
        <translation>Filter %1:</translation>
    </message>
    <message>
        <source>Формула %1:</source>
        <translation>Formula %1:</translation>
    </message>
    <message>
        <source>Формулы шинковки</source>
        <translation>Shredding formulas</translation>
    </message>
    <message>
        <source>Шаг:</source>
        <translation>Step:</translation>
    </message>
    <message>
        <source>Ширина канала</source>
        <translation>Channel width</translation>
    </message>
    <message>
        <source>Экспорт в CSV-файл</source>
        <translation>Export to CSV file</translation>
    </message>
    <message>
        <source>Экспорт в Microsoft Excel</source>
        <translation>Export to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт карты тиражей в Microsoft Excel</source>
        <translation>Export the number card to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт названий</source>
        <translation>Export names</translation>
    </message>
    <message>
        <source>Экспорт названий фильтров в файл</source>
        <translation>Export filter names to a file</translation>
    </message>
    <message>
        <source>Экспорт рейтинга в CSV-файл</source>
        <translation>Export the rating to a CSV file</translation>
    </message>
    <message>
        <source>Экспорт рейтинга в Microsoft Excel</source>
        <translation>Export the rating to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт списка комбинаций в Microsoft Excel</source>
        <translation>Export the combination list to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт списка тиражей в CSV-файл</source>
        <translation>Export the draws to a CSV file</translation>
    </message>
    <message>
        <source>Экспорт списка тиражей в Microsoft Excel</source>
        <translation>Export the draws to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт ставок в Microsoft Excel</source>
        <translation>Export the stakes to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт статистики в Microsoft Excel</source>
        <translation>Export the statistics to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт схемы в Microsoft Excel</source>
        <translation>Export the layout to Microsoft Excel</translation>
    </message>
    <message>
        <source>Элемент сценария</source>
        <translation>Scenario item</translation>
    </message>
    <message>
        <source>Эффективность (столбцы E0..n)</source>
        <translation>Efficiency (columns E0..n)</translation>
    </message>
    <message>
        <source>Язык интерфейса</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>№ п.п.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>№ тиража</source>
        <translation>Draw No.</translation>
    </message>
</context>
</TS>
