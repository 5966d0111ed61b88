<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>Kvanta</name>
    <message>
        <source>
Не прочитано записей: %d (первая: %s).</source>
        <translation>
Records not read: %d (the first: %s).</translation>
    </message>
    <message>
        <source>
Не удалось удалить файл "%s": %s</source>
        <translation>
Could not delete the file "%s": %s</translation>
    </message>
    <message>
        <source>
Файл заканчивается неполной записью (%d байт); она не прочитана.</source>
        <translation>
The file ends in an incomplete record (%d bytes); it was not read.</translation>
    </message>
    <message>
        <source> Доступность </source>
        <translation> Visibility </translation>
    </message>
    <message>
        <source> Коэффициенты для расчета значений "Вес" </source>
        <translation> Coefficients for the "Weight" values </translation>
    </message>
    <message>
        <source> Применяемость </source>
        <translation> Applies to </translation>
    </message>
    <message>
        <source> версия </source>
        <translation> version </translation>
    </message>
    <message>
        <source>"Вес": из заданного списка значений</source>
        <translation>"Weight": from the given list of values</translation>
    </message>
    <message>
        <source>"Вес": из заданного списка процентов</source>
        <translation>"Weight": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Вес": не более заданного значения</source>
        <translation>"Weight": at most the given value</translation>
    </message>
    <message>
        <source>"Вес": не более заданного процента</source>
        <translation>"Weight": at most the given percentage</translation>
    </message>
    <message>
        <source>"Вес": не менее заданного значения</source>
        <translation>"Weight": at least the given value</translation>
    </message>
    <message>
        <source>"Вес": не менее заданного процента</source>
        <translation>"Weight": at least the given percentage</translation>
    </message>
    <message>
        <source>"Глубина": из заданного списка значений</source>
        <translation>"Depth": from the given list of values</translation>
    </message>
    <message>
        <source>"Глубина": из заданного списка процентов</source>
        <translation>"Depth": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Глубина": не более заданного значения</source>
        <translation>"Depth": at most the given value</translation>
    </message>
    <message>
        <source>"Глубина": не более заданного процента</source>
        <translation>"Depth": at most the given percentage</translation>
    </message>
    <message>
        <source>"Глубина": не менее заданного значения</source>
        <translation>"Depth": at least the given value</translation>
    </message>
    <message>
        <source>"Глубина": не менее заданного процента</source>
        <translation>"Depth": at least the given percentage</translation>
    </message>
    <message>
        <source>"Значения": из заданного списка значений</source>
        <translation>"Values": from the given list of values</translation>
    </message>
    <message>
        <source>"Значения": из заданного списка процентов</source>
        <translation>"Values": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Значения": не более заданного значения</source>
        <translation>"Values": at most the given value</translation>
    </message>
    <message>
        <source>"Значения": не более заданного процента</source>
        <translation>"Values": at most the given percentage</translation>
    </message>
    <message>
        <source>"Значения": не менее заданного значения</source>
        <translation>"Values": at least the given value</translation>
    </message>
    <message>
        <source>"Значения": не менее заданного процента</source>
        <translation>"Values": at least the given percentage</translation>
    </message>
    <message>
        <source>"Количество": из заданного списка значений</source>
        <translation>"Count": from the given list of values</translation>
    </message>
    <message>
        <source>"Количество": из заданного списка процентов</source>
        <translation>"Count": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Количество": не более заданного значения</source>
        <translation>"Count": at most the given value</translation>
    </message>
    <message>
        <source>"Количество": не более заданного процента</source>
        <translation>"Count": at most the given percentage</translation>
    </message>
    <message>
        <source>"Количество": не менее заданного значения</source>
        <translation>"Count": at least the given value</translation>
    </message>
    <message>
        <source>"Количество": не менее заданного процента</source>
        <translation>"Count": at least the given percentage</translation>
    </message>
    <message>
        <source>"Отклонение": из заданного списка значений</source>
        <translation>"Deviation": from the given list of values</translation>
    </message>
    <message>
        <source>"Отклонение": из заданного списка процентов</source>
        <translation>"Deviation": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Отклонение": не более заданного значения</source>
        <translation>"Deviation": at most the given value</translation>
    </message>
    <message>
        <source>"Отклонение": не более заданного процента</source>
        <translation>"Deviation": at most the given percentage</translation>
    </message>
    <message>
        <source>"Отклонение": не менее заданного значения</source>
        <translation>"Deviation": at least the given value</translation>
    </message>
    <message>
        <source>"Отклонение": не менее заданного процента</source>
        <translation>"Deviation": at least the given percentage</translation>
    </message>
    <message>
        <source>"Период max": из заданного списка значений</source>
        <translation>"Period max": from the given list of values</translation>
    </message>
    <message>
        <source>"Период max": из заданного списка процентов</source>
        <translation>"Period max": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Период max": не более заданного значения</source>
        <translation>"Period max": at most the given value</translation>
    </message>
    <message>
        <source>"Период max": не более заданного процента</source>
        <translation>"Period max": at most the given percentage</translation>
    </message>
    <message>
        <source>"Период max": не менее заданного значения</source>
        <translation>"Period max": at least the given value</translation>
    </message>
    <message>
        <source>"Период max": не менее заданного процента</source>
        <translation>"Period max": at least the given percentage</translation>
    </message>
    <message>
        <source>"Период min": из заданного списка значений</source>
        <translation>"Period min": from the given list of values</translation>
    </message>
    <message>
        <source>"Период min": из заданного списка процентов</source>
        <translation>"Period min": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Период min": не более заданного значения</source>
        <translation>"Period min": at most the given value</translation>
    </message>
    <message>
        <source>"Период min": не более заданного процента</source>
        <translation>"Period min": at most the given percentage</translation>
    </message>
    <message>
        <source>"Период min": не менее заданного значения</source>
        <translation>"Period min": at least the given value</translation>
    </message>
    <message>
        <source>"Период min": не менее заданного процента</source>
        <translation>"Period min": at least the given percentage</translation>
    </message>
    <message>
        <source>"Период": из заданного списка значений</source>
        <translation>"Period": from the given list of values</translation>
    </message>
    <message>
        <source>"Период": из заданного списка процентов</source>
        <translation>"Period": from the given list of percentages</translation>
    </message>
    <message>
        <source>"Период": не более заданного значения</source>
        <translation>"Period": at most the given value</translation>
    </message>
    <message>
        <source>"Период": не более заданного процента</source>
        <translation>"Period": at most the given percentage</translation>
    </message>
    <message>
        <source>"Период": не менее заданного значения</source>
        <translation>"Period": at least the given value</translation>
    </message>
    <message>
        <source>"Период": не менее заданного процента</source>
        <translation>"Period": at least the given percentage</translation>
    </message>
    <message>
        <source>%1: все числа</source>
        <translation>%1: all numbers</translation>
    </message>
    <message>
        <source>(Количество − Норма) × 100 / Норма</source>
        <translation>(Count − Norm) × 100 / Norm</translation>
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
        <source>1 - одно значение
1, 2, 3 - список значений через запятую
1-10;2 - нижняя и верхняя граница диапазона; шаг изменения</source>
        <translation>1 - one value
1, 2, 3 - a list of values separated by commas
1-10;2 - lower and upper bound of a range; the step</translation>
    </message>
    <message>
        <source>5%-95% случайных тиражей</source>
        <translation>5%-95% of random draws</translation>
    </message>
    <message>
        <source>8 чисел от 1 до 20, последним — дополнительное число от 1 до 4</source>
        <translation>8 numbers of 1 to 20, the last one an extra number of 1 to 4</translation>
    </message>
    <message>
        <source>; последний тираж: %d от %s</source>
        <translation>; last draw: %d of %s</translation>
    </message>
    <message>
        <source>&lt;b&gt;Kvanta 8x20&lt;/b&gt; версия %1&lt;br&gt;&lt;br&gt;Анализатор тиражной лотереи 8 из 20: архив тиражей, статистики, фильтры, ставки, рейтинги и сценарии.</source>
        <translation>&lt;b&gt;Kvanta 8x20&lt;/b&gt; version %1&lt;br&gt;&lt;br&gt;Analyser of the 8-of-20 draw lottery: draw archive, statistics, filters, stakes, ratings and scenarios.</translation>
    </message>
    <message>
        <source>CSV-файлы (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Cистемная игра по списку комбинаций</source>
        <translation>System play over the combination list</translation>
    </message>
    <message>
        <source>Cистемная игра по списку системы</source>
        <translation>System play over the system's list</translation>
    </message>
    <message>
        <source>Extra (Bonus, Star...) - число (!без фильтра!)</source>
        <translation>Extra (Bonus, Star...) number (no filter!)</translation>
    </message>
    <message>
        <source>Online каталог сценариев</source>
        <translation>Online scenario catalogue</translation>
    </message>
    <message>
        <source>[ 1 ] - Бесполезно</source>
        <translation>[ 1 ] - Useless</translation>
    </message>
    <message>
        <source>[ 2 ] - Плохо</source>
        <translation>[ 2 ] - Poor</translation>
    </message>
    <message>
        <source>[ 3 ] - Удовлетворительно</source>
        <translation>[ 3 ] - Fair</translation>
    </message>
    <message>
        <source>[ 4 ] - Хорошо</source>
        <translation>[ 4 ] - Good</translation>
    </message>
    <message>
        <source>[ 5 ] - Отлично</source>
        <translation>[ 5 ] - Excellent</translation>
    </message>
    <message>
        <source>p (профит)</source>
        <translation>p (profit)</translation>
    </message>
    <message>
        <source>p (совпадения)</source>
        <translation>p (hits)</translation>
    </message>
    <message>
        <source>p с поправкой на число строк, проверенных вместе (Бенджамини-Хохберг): среди строк с q меньше 0,05 случайных находок в среднем не больше 5%</source>
        <translation>p corrected for the number of rows tested together (Benjamini-Hochberg): among rows with q below 0.05, on average no more than 5% are chance findings</translation>
    </message>
    <message>
        <source>q (профит)</source>
        <translation>q (profit)</translation>
    </message>
    <message>
        <source>q (совпадения)</source>
        <translation>q (hits)</translation>
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
        <source>Автоматическое обновление</source>
        <translation>Automatic update check</translation>
    </message>
    <message>
        <source>Автор</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>Автор:</source>
        <translation>Author:</translation>
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
        <source>Анализ тиражей и расчет статистики...</source>
        <translation>Analysing the draws and computing the statistics...</translation>
    </message>
    <message>
        <source>Архив тиражей</source>
        <translation>Draw archive</translation>
    </message>
    <message>
        <source>Архив тиражей пуст. Тиражи можно загрузить с сайта лотереи (Тиражи → Загрузка, F3), импортировать из CSV-файла (Файл → Импорт из CSV-файла) или, чтобы познакомиться с программой, создать демонстрационный архив из вымышленных тиражей.</source>
        <translation>The draw archive is empty. Download draws from the lottery site (Draws → Download, F3), import them from a CSV file (File → Import from CSV file) or, to get to know the program, create a demo archive of made-up draws.</translation>
    </message>
    <message>
        <source>Архив тиражей: %d</source>
        <translation>Draw archive: %d</translation>
    </message>
    <message>
        <source>Без моих оценок</source>
        <translation>Not rated by me</translation>
    </message>
    <message>
        <source>Беларуская</source>
        <translation>Belarusian</translation>
    </message>
    <message>
        <source>Блок</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>Блок:</source>
        <translation>Block:</translation>
    </message>
    <message>
        <source>Более [ &gt; ]</source>
        <translation>Greater [ &gt; ]</translation>
    </message>
    <message>
        <source>Больше не показывать данный диалог</source>
        <translation>Do not show this dialog again</translation>
    </message>
    <message>
        <source>В любом приложении Varta</source>
        <translation>In any Varta program</translation>
    </message>
    <message>
        <source>В случае неоднозначного результата после применения фильтров:</source>
        <translation>When the filters leave more than one combination:</translation>
    </message>
    <message>
        <source>В списке комбинаций оставить комбинации с выделенными значениями</source>
        <translation>Keep the combinations with the selected values</translation>
    </message>
    <message>
        <source>В списке комбинаций оставить комбинации с выделенными числами</source>
        <translation>Keep the combinations with the selected numbers</translation>
    </message>
    <message>
        <source>В текущем списке комбинаций содержится %d уникальных номеров</source>
        <translation>The current combination list holds %d distinct numbers</translation>
    </message>
    <message>
        <source>В файле "%s" нет тиражей для импорта.</source>
        <translation>The file "%s" has no draws to import.</translation>
    </message>
    <message>
        <source>Ваша оценка</source>
        <translation>My rating</translation>
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
        <source>Вероятность получить такой же результат на случайных тиражах (столбцы p и q) для выделенных строк или, без выделения, для всех</source>
        <translation>How likely random draws give the same result (columns p and q), for the selected rows or, with none selected, for all</translation>
    </message>
    <message>
        <source>Версия</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Верхняя граница 95%, %</source>
        <translation>Upper 95% bound, %</translation>
    </message>
    <message>
        <source>Вес</source>
        <translation>Weight</translation>
    </message>
    <message>
        <source>Весь список (без условий)</source>
        <translation>Whole list (no condition)</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Вид графика на вкладке "Дни недели"</source>
        <translation>Chart kind of the "Weekdays" tab</translation>
    </message>
    <message>
        <source>Вид ставки</source>
        <translation>Stake kind</translation>
    </message>
    <message>
        <source>Вкладка "Графики"</source>
        <translation>"Charts" tab</translation>
    </message>
    <message>
        <source>Вкладка "Карта"</source>
        <translation>"Card" tab</translation>
    </message>
    <message>
        <source>Вкладка "Неделя"</source>
        <translation>"Week" tab</translation>
    </message>
    <message>
        <source>Вкладка "Регуляры"</source>
        <translation>"Regulars" tab</translation>
    </message>
    <message>
        <source>Вкладка "Схема"</source>
        <translation>"Layout" tab</translation>
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
        <source>Вручную</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
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
        <source>Все разности между соседними позициями</source>
        <translation>All differences between neighbouring positions</translation>
    </message>
    <message>
        <source>Все создаваемые ставки</source>
        <translation>All stakes made</translation>
    </message>
    <message>
        <source>Все, включая скрытые</source>
        <translation>All, hidden ones too</translation>
    </message>
    <message>
        <source>Все, кроме скрытых (по умолчанию)</source>
        <translation>All but hidden (default)</translation>
    </message>
    <message>
        <source>Всего - %d, обработано - %d, пропущено - %d, предупреждений - %d, ошибок - %d.</source>
        <translation>Total - %d, done - %d, skipped - %d, warnings - %d, errors - %d.</translation>
    </message>
    <message>
        <source>Вставить</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Вставить из буфера</source>
        <translation>Paste from clipboard</translation>
    </message>
    <message>
        <source>Вы действительно хотите сбросить список избранных фильтров?</source>
        <translation>Do you really want to reset the list of favourite filters?</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить систему "%s"?</source>
        <translation>Do you really want to delete the system "%s"?</translation>
    </message>
    <message>
        <source>Вы действительно хотите удалить сценарий "%s"?</source>
        <translation>Do you really want to delete the scenario "%s"?</translation>
    </message>
    <message>
        <source>Вы можете удалять только свои системы!</source>
        <translation>You can delete only your own systems!</translation>
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
        <source>Выбрать все комбинации (не рекомендуется)</source>
        <translation>Choose all combinations (not recommended)</translation>
    </message>
    <message>
        <source>Выбрать группу</source>
        <translation>Select group</translation>
    </message>
    <message>
        <source>Выбрать одну случайную комбинацию</source>
        <translation>Choose one combination at random</translation>
    </message>
    <message>
        <source>Выбрать первую комбинацию в списке</source>
        <translation>Choose the first combination of the list</translation>
    </message>
    <message>
        <source>Выбрать последнюю комбинацию в списке</source>
        <translation>Choose the last combination of the list</translation>
    </message>
    <message>
        <source>Выделенная комбинация не найдена архиве тиражей!</source>
        <translation>The selected combination was not found in the draw archive!</translation>
    </message>
    <message>
        <source>Выделить все</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Выделить всё</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Выделять каналы в карте тиражей</source>
        <translation>Highlight channels in the number card</translation>
    </message>
    <message>
        <source>Выделять каналы в списке комбинаций</source>
        <translation>Highlight channels in the combination list</translation>
    </message>
    <message>
        <source>Выделять каналы в списке тиражей</source>
        <translation>Highlight channels in the draw list</translation>
    </message>
    <message>
        <source>Выделять последовательности в карте тиражей</source>
        <translation>Highlight runs in the number card</translation>
    </message>
    <message>
        <source>Выживаемость</source>
        <translation>Survival</translation>
    </message>
    <message>
        <source>Выживаемость / доля оставленных: больше 1 - фильтр лучше случайного отсева</source>
        <translation>Survival / kept share: above 1 the filter beats a random cut</translation>
    </message>
    <message>
        <source>Выживаемость фильтров, % (95% интервал Вильсона)</source>
        <translation>Filter survival, % (95% Wilson interval)</translation>
    </message>
    <message>
        <source>Выживаемость, %</source>
        <translation>Survival, %</translation>
    </message>
    <message>
        <source>Выжил</source>
        <translation>Survived</translation>
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
        <source>Генерация новых строк в сценарии...</source>
        <translation>Making new scenario lines...</translation>
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
        <source>Глубина × 100 / наибольшая глубина в таблице</source>
        <translation>Depth × 100 / the largest depth in the table</translation>
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
        <source>Градиентная раскраска схемы</source>
        <translation>Gradient colours in the layout</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>График / диаграмма</source>
        <translation>Line / bar chart</translation>
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
        <source>График по дням недели</source>
        <translation>Chart by weekday</translation>
    </message>
    <message>
        <source>График проверки на случайность</source>
        <translation>Luck test chart</translation>
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
        <source>Данные автора</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>Данные предыдущего тиража + 1</source>
        <translation>Previous draw's numbers + 1</translation>
    </message>
    <message>
        <source>Данные предыдущего тиража + 2</source>
        <translation>Previous draw's numbers + 2</translation>
    </message>
    <message>
        <source>Данные предыдущего тиража - 1</source>
        <translation>Previous draw's numbers - 1</translation>
    </message>
    <message>
        <source>Данные предыдущего тиража - 2</source>
        <translation>Previous draw's numbers - 2</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Дата и время тиража:</source>
        <translation>Draw date and time:</translation>
    </message>
    <message>
        <source>Дата создания</source>
        <translation>Created on</translation>
    </message>
    <message>
        <source>Дата тиража</source>
        <translation>Draw date</translation>
    </message>
    <message>
        <source>Демонстрационный архив</source>
        <translation>Demo archive</translation>
    </message>
    <message>
        <source>Диапазон %d (от %s и выше по оси Y) - суммы %d-%d</source>
        <translation>Range %d (from %s up the Y axis) - sums %d-%d</translation>
    </message>
    <message>
        <source>Длина последовательности в тираже</source>
        <translation>Run length in the draw</translation>
    </message>
    <message>
        <source>Длина:</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>Для загрузки тиражей нужен адрес сайта лотереи, который публикует архив тиражей игры 8x20.</source>
        <translation>Downloading draws needs the address of a lottery site that publishes the archive of the 8x20 game.</translation>
    </message>
    <message>
        <source>Для публикации и оценки сценариев и систем укажите своё имя и адрес электронной почты.
По адресу каталог отличает Ваши записи от чужих.</source>
        <translation>To publish and rate scenarios and systems, give your name and e-mail address.
The catalogue tells your entries from others' by the address.</translation>
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
        <source>Добавление в конец файла уже проверенной ставки!</source>
        <translation>Appending a stake that is already checked to the end of the file!</translation>
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
        <source>Добро пожаловать в Kvanta 8x20!

Загрузите архив тиражей (F3), выберите статистику и длину окна, отметьте строки таблицы и примените фильтр к списку комбинаций, затем поставьте оставшиеся комбинации ставками.

Справка (F1) рассказывает о каждом окне и о каждой статистике.</source>
        <translation>Welcome to Kvanta 8x20!

Download the draw archive (F3), choose a statistic and the window length, mark rows of the table and apply the filter to the combination list, then stake the combinations that are left.

Help (F1) describes every window and every statistic.</translation>
    </message>
    <message>
        <source>Доля оставленных</source>
        <translation>Kept share</translation>
    </message>
    <message>
        <source>Доля оставленных, %</source>
        <translation>Kept share, %</translation>
    </message>
    <message>
        <source>Доля случайных тиражей, на которых ставки строки дали бы профит не меньше настоящего. Малое значение (меньше 0,05) - результат вряд ли случаен. Считается командой "Проверка на случайность"</source>
        <translation>Share of random draws on which the row's stakes would earn no less than the real profit. A small value (below 0.05): the result is hardly chance. Computed by "Luck test"</translation>
    </message>
    <message>
        <source>Доля случайных тиражей, на которых ставки строки совпали бы не меньше, чем на настоящих. Малое значение (меньше 0,05) - результат вряд ли случаен. Считается командой "Проверка на случайность"</source>
        <translation>Share of random draws on which the row's stakes would match no less than on the real ones. A small value (below 0.05): the result is hardly chance. Computed by "Luck test"</translation>
    </message>
    <message>
        <source>Доступна новая версия программы: %s (установлена %s).</source>
        <translation>A new version of the program is available: %s (installed %s).</translation>
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
        <source>За одну загрузку принимается не больше %d тиражей; загрузка остановлена, следующая продолжит с тиража %d.</source>
        <translation>One download takes at most %d draws; the download stopped, the next one goes on from draw %d.</translation>
    </message>
    <message>
        <source>Заголовок:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Загружена</source>
        <translation>Downloaded</translation>
    </message>
    <message>
        <source>Загрузить</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Загрузить выбранные системы</source>
        <translation>Download the selected systems</translation>
    </message>
    <message>
        <source>Загрузить из файла</source>
        <translation>Load from a file</translation>
    </message>
    <message>
        <source>Загрузить список из заранее подготовленного CSV-файла</source>
        <translation>Load a list from a prepared CSV file</translation>
    </message>
    <message>
        <source>Загрузка</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Загрузка "%s"...</source>
        <translation>Downloading "%s"...</translation>
    </message>
    <message>
        <source>Загрузка online-каталога сценариев...</source>
        <translation>Loading the online scenario catalogue...</translation>
    </message>
    <message>
        <source>Загрузка архива тиражей завершена, добавлено тиражей: %d</source>
        <translation>Draw archive download finished, draws added: %d</translation>
    </message>
    <message>
        <source>Загрузка архива тиражей с сайта лотереи</source>
        <translation>Download the draw archive from the lottery site</translation>
    </message>
    <message>
        <source>Загрузка архива тиражей...</source>
        <translation>Downloading the draw archive...</translation>
    </message>
    <message>
        <source>Загрузка архива тиражей...

%s</source>
        <translation>Downloading the draw archive...

%s</translation>
    </message>
    <message>
        <source>Загрузка буфера комбинаций...</source>
        <translation>Loading the combination buffer...</translation>
    </message>
    <message>
        <source>Загрузка списка оценок...</source>
        <translation>Loading the ratings...</translation>
    </message>
    <message>
        <source>Загрузка списка систем...</source>
        <translation>Loading the system list...</translation>
    </message>
    <message>
        <source>Загрузка тиражей %d - %d...</source>
        <translation>Downloading draws %d - %d...</translation>
    </message>
    <message>
        <source>Загрузка тиражей из сети в этой сборке недоступна</source>
        <translation>This build cannot download draws from the network</translation>
    </message>
    <message>
        <source>Загрузка тиражей при запуске</source>
        <translation>Download draws at start-up</translation>
    </message>
    <message>
        <source>Загрузка файла "%s"...</source>
        <translation>Loading the file "%s"...</translation>
    </message>
    <message>
        <source>Загрузка файла конфигурации...</source>
        <translation>Loading the configuration file...</translation>
    </message>
    <message>
        <source>Загрузка файла регулярных ставок...</source>
        <translation>Loading the regular stakes file...</translation>
    </message>
    <message>
        <source>Загрузка файла рейтинга...</source>
        <translation>Loading the rating file...</translation>
    </message>
    <message>
        <source>Загрузка файла ставок...</source>
        <translation>Loading the stakes file...</translation>
    </message>
    <message>
        <source>Загрузка файла тиражей...</source>
        <translation>Loading the draws file...</translation>
    </message>
    <message>
        <source>Загрузок</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Загрузок:</source>
        <translation>Downloads:</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Закрыть окно</source>
        <translation>Close the window</translation>
    </message>
    <message>
        <source>Запись %d файла "%s" не является записью регулярной ставки: файл другой версии или поврежден. Прочитаны записи до нее (%d).</source>
        <translation>Record %d of the file "%s" is not a regular stake record: the file is of another version or damaged. The records before it were read (%d).</translation>
    </message>
    <message>
        <source>Запись %d файла "%s" не является записью рейтинга: файл другой версии или поврежден. Прочитаны записи до нее (%d).</source>
        <translation>Record %d of the file "%s" is not a rating record: the file is of another version or damaged. The records before it were read (%d).</translation>
    </message>
    <message>
        <source>Запись со индексом %d в файле данных не найдена!</source>
        <translation>No record with index %d in the data file!</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Значение статистики выбранного метода</source>
        <translation>The value of the chosen statistic method</translation>
    </message>
    <message>
        <source>Значение:</source>
        <translation>Value:</translation>
    </message>
    <message>
        <source>Значению в списке статистики</source>
        <translation>Value in the statistics list</translation>
    </message>
    <message>
        <source>Значения</source>
        <translation>Values</translation>
    </message>
    <message>
        <source>Значения:</source>
        <translation>Values:</translation>
    </message>
    <message>
        <source>Идет сбор статистики....</source>
        <translation>Collecting statistics....</translation>
    </message>
    <message>
        <source>Идея ставок: комментарий, общий для ее ставок</source>
        <translation>The idea behind the stakes: the comment its stakes share</translation>
    </message>
    <message>
        <source>Из списка комбинаций удалить комбинации с выделенными  значениями</source>
        <translation>Delete the combinations with the selected values</translation>
    </message>
    <message>
        <source>Из списка комбинаций удалить комбинации с выделенными значениями</source>
        <translation>Delete the combinations with the selected values</translation>
    </message>
    <message>
        <source>Из списка комбинаций удалить комбинации с выделенными числами</source>
        <translation>Delete the combinations with the selected numbers</translation>
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
        <source>Импорт тиражей из файла "%s"...</source>
        <translation>Importing draws from the file "%s"...</translation>
    </message>
    <message>
        <source>Импортировано тиражей: %d.</source>
        <translation>Draws imported: %d.</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Имя автора должно быть указано обязательно!</source>
        <translation>The author's name is required!</translation>
    </message>
    <message>
        <source>Имя автора:</source>
        <translation>Author name:</translation>
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
        <source>Инициализация...</source>
        <translation>Starting...</translation>
    </message>
    <message>
        <source>Интервалы между повторениями каналов</source>
        <translation>Intervals between channel repeats</translation>
    </message>
    <message>
        <source>Интервалы между повторениями сегментов</source>
        <translation>Intervals between segment repeats</translation>
    </message>
    <message>
        <source>Интервалы между повторениями чисел</source>
        <translation>Intervals between number repeats</translation>
    </message>
    <message>
        <source>Информация</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Исключить %d тиражей</source>
        <translation>Exclude %d draws</translation>
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
        <source>Используемые переменные:
n1, n2, n3, ..., nX - числа текущего тиража
p1, p2, p3, ..., pX - числа предыдущего тиража</source>
        <translation>Variables:
n1, n2, n3, ..., nX - numbers of the current draw
p1, p2, p3, ..., pX - numbers of the previous draw</translation>
    </message>
    <message>
        <source>Исходный список</source>
        <translation>Start list</translation>
    </message>
    <message>
        <source>Исходный список (рекомендуется для тестов)</source>
        <translation>Start list (recommended for tests)</translation>
    </message>
    <message>
        <source>Итоги последнего теста в браузере: контрольные тиражи, p и q идей, графики</source>
        <translation>The last test's results in the browser: hold-out draws, p and q of the ideas, charts</translation>
    </message>
    <message>
        <source>Как часто фильтры последнего теста оставляли выпавший билет</source>
        <translation>How often the filters of the last test kept the drawn ticket</translation>
    </message>
    <message>
        <source>Каналы</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>Каналы (группы чисел)</source>
        <translation>Channels (groups of numbers)</translation>
    </message>
    <message>
        <source>Карта</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>Каталог</source>
        <translation>Catalogue</translation>
    </message>
    <message>
        <source>Каталог %1 недоступен: %2</source>
        <translation>Catalogue %1 is unreachable: %2</translation>
    </message>
    <message>
        <source>Каталог сценариев</source>
        <translation>Scenario catalogue</translation>
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
        <source>Код возврата: %d</source>
        <translation>Return code: %d</translation>
    </message>
    <message>
        <source>Кол-во</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Кол-во в %</source>
        <translation>Count %</translation>
    </message>
    <message>
        <source>Кол-во повторов</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>Кол-во тиражей:</source>
        <translation>Draws:</translation>
    </message>
    <message>
        <source>Колесо мыши: масштаб; двойной щелчок: весь график</source>
        <translation>Mouse wheel: zoom; double click: whole chart</translation>
    </message>
    <message>
        <source>Количество</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Количество × 100 / сумма количеств всех значений</source>
        <translation>Count × 100 / sum of the counts of all values</translation>
    </message>
    <message>
        <source>Количество используемых знаков после запятой</source>
        <translation>Decimal places used</translation>
    </message>
    <message>
        <source>Количество каналов в тираже</source>
        <translation>Channels in the draw</translation>
    </message>
    <message>
        <source>Количество не пустых сегментов в матрице</source>
        <translation>Non-empty matrix segments</translation>
    </message>
    <message>
        <source>Количество не пустых столбцов в матрице</source>
        <translation>Non-empty matrix columns</translation>
    </message>
    <message>
        <source>Количество не пустых строк в матрице</source>
        <translation>Non-empty matrix rows</translation>
    </message>
    <message>
        <source>Количество одинаковых разностей между соседними позициями</source>
        <translation>Equal differences between neighbouring positions (count)</translation>
    </message>
    <message>
        <source>Количество повторов в 2-х тиражах подряд</source>
        <translation>Repeats in 2 draws in a row (count)</translation>
    </message>
    <message>
        <source>Количество повторов в 2-х тиражах через 1 тираж(а)</source>
        <translation>Repeats in 2 draws 1 draw(s) apart (count)</translation>
    </message>
    <message>
        <source>Количество повторов в 2-х тиражах через 2 тираж(а)</source>
        <translation>Repeats in 2 draws 2 draw(s) apart (count)</translation>
    </message>
    <message>
        <source>Количество повторов в 2-х тиражах через 3 тираж(а)</source>
        <translation>Repeats in 2 draws 3 draw(s) apart (count)</translation>
    </message>
    <message>
        <source>Количество повторов в 3-х тиражах подряд</source>
        <translation>Repeats in 3 draws in a row (count)</translation>
    </message>
    <message>
        <source>Количество повторов в зависимости от тиража</source>
        <translation>Repeats by draw</translation>
    </message>
    <message>
        <source>Количество повторов не более чем в 2-х тиражах</source>
        <translation>Repeats in at most 2 draws (count)</translation>
    </message>
    <message>
        <source>Количество последовательностей в тираже</source>
        <translation>Runs in the draw</translation>
    </message>
    <message>
        <source>Количество простых чисел (П:С)</source>
        <translation>Prime numbers (P:C)</translation>
    </message>
    <message>
        <source>Количество скачанных комбинаций ( %d ) отличается от ожидаемого значения ( %d )</source>
        <translation>The number of downloaded combinations ( %d ) differs from the expected one ( %d )</translation>
    </message>
    <message>
        <source>Количество совпадений</source>
        <translation>Matches</translation>
    </message>
    <message>
        <source>Количество совпадений "значений + 1"</source>
        <translation>Matches with "values + 1"</translation>
    </message>
    <message>
        <source>Количество совпадений "значений + 2"</source>
        <translation>Matches with "values + 2"</translation>
    </message>
    <message>
        <source>Количество совпадений "значений - 1"</source>
        <translation>Matches with "values - 1"</translation>
    </message>
    <message>
        <source>Количество совпадений "значений - 2"</source>
        <translation>Matches with "values - 2"</translation>
    </message>
    <message>
        <source>Количество столбцов</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Количество столбцов матрицы со смежными числами</source>
        <translation>Matrix columns with adjacent numbers</translation>
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
        <source>Количество строк матрицы со смежными числами</source>
        <translation>Matrix rows with adjacent numbers</translation>
    </message>
    <message>
        <source>Количество тестов</source>
        <translation>Number of tests</translation>
    </message>
    <message>
        <source>Количество тиражей, использующихся для построения графиков</source>
        <translation>Draws used for the charts</translation>
    </message>
    <message>
        <source>Количество тиражей, использующихся для построения схемы</source>
        <translation>Draws used for the layout</translation>
    </message>
    <message>
        <source>Количество тиражей, использующихся для расчета статистики</source>
        <translation>Draws used for the statistics</translation>
    </message>
    <message>
        <source>Количество тиражей, использующихся для таблицы сравнения</source>
        <translation>Draws used for the comparison lists</translation>
    </message>
    <message>
        <source>Количество тиражей, просматриваемых "в глубину" для поиска совпадений</source>
        <translation>Draws searched back for matches</translation>
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
        <source>Количество четных чисел в тираже (Ч:Н)</source>
        <translation>Even numbers in the draw (E:O)</translation>
    </message>
    <message>
        <source>Количество чисел в %0:d канале</source>
        <translation>Numbers in channel %0:d</translation>
    </message>
    <message>
        <source>Количество чисел в %0:d сегменте матрицы</source>
        <translation>Numbers in matrix segment %0:d</translation>
    </message>
    <message>
        <source>Количество чисел в %0:d столбце матрицы</source>
        <translation>Numbers in matrix column %0:d</translation>
    </message>
    <message>
        <source>Количество чисел в %0:d строке матрицы</source>
        <translation>Numbers in matrix row %0:d</translation>
    </message>
    <message>
        <source>Количество чисел в канале</source>
        <translation>Numbers per channel</translation>
    </message>
    <message>
        <source>Количество чисел в сегменте матрицы</source>
        <translation>Numbers per matrix segment</translation>
    </message>
    <message>
        <source>Количество чисел в столбце матрицы</source>
        <translation>Numbers per matrix column</translation>
    </message>
    <message>
        <source>Количество чисел в строке матрицы</source>
        <translation>Numbers per matrix row</translation>
    </message>
    <message>
        <source>Количество чисел из первой половины диапазона (1П:2П)</source>
        <translation>Numbers from the first half of the range (1H:2H)</translation>
    </message>
    <message>
        <source>Количество − Норма</source>
        <translation>Count − Norm</translation>
    </message>
    <message>
        <source>Количество, ожидаемое по полному набору комбинаций (сравнение с полным набором)</source>
        <translation>The count the full combination set leads to expect (comparison with the full set)</translation>
    </message>
    <message>
        <source>Количество, отклонение и глубина, сложенные с коэффициентами из «Параметры системы»</source>
        <translation>Count, deviation and depth added up with the coefficients of "System options"</translation>
    </message>
    <message>
        <source>Количество:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Количеству оставшихся комбинаций</source>
        <translation>Combinations left</translation>
    </message>
    <message>
        <source>Количеству шагов</source>
        <translation>Number of steps</translation>
    </message>
    <message>
        <source>Комбинации</source>
        <translation>Combinations</translation>
    </message>
    <message>
        <source>Комбинаций</source>
        <translation>Combinations</translation>
    </message>
    <message>
        <source>Комбинаций:</source>
        <translation>Combinations:</translation>
    </message>
    <message>
        <source>Комбинаций: %d</source>
        <translation>Combinations: %d</translation>
    </message>
    <message>
        <source>Комментарии</source>
        <translation>Comments</translation>
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
        <source>Контроль</source>
        <translation>Hold-out</translation>
    </message>
    <message>
        <source>Контроль: верхняя граница 95%, %</source>
        <translation>Hold-out: upper 95% bound, %</translation>
    </message>
    <message>
        <source>Контроль: выживаемость, %</source>
        <translation>Hold-out: survival, %</translation>
    </message>
    <message>
        <source>Контроль: выжил</source>
        <translation>Hold-out: survived</translation>
    </message>
    <message>
        <source>Контроль: доля оставленных, %</source>
        <translation>Hold-out: kept share, %</translation>
    </message>
    <message>
        <source>Контроль: лифт</source>
        <translation>Hold-out: lift</translation>
    </message>
    <message>
        <source>Контроль: нижняя граница 95%, %</source>
        <translation>Hold-out: lower 95% bound, %</translation>
    </message>
    <message>
        <source>Контроль: тестов</source>
        <translation>Hold-out: tests</translation>
    </message>
    <message>
        <source>Контрольные тиражи</source>
        <translation>Hold-out draws</translation>
    </message>
    <message>
        <source>Контрольные тиражи:</source>
        <translation>Hold-out draws:</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Копировать в буфер</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Копия файла не сохранена. %s

%s</source>
        <translation>The copy of the file was not saved. %s

%s</translation>
    </message>
    <message>
        <source>Копия файла сохранена как "%s".</source>
        <translation>A copy of the file was saved as "%s".</translation>
    </message>
    <message>
        <source>Коэффициенты для поля "Вес"</source>
        <translation>Coefficients of the "Weight" column</translation>
    </message>
    <message>
        <source>Лифт</source>
        <translation>Lift</translation>
    </message>
    <message>
        <source>Макс. длина последовательности в тираже</source>
        <translation>Longest run in the draw</translation>
    </message>
    <message>
        <source>Максимальная разность между соседними позициями</source>
        <translation>Largest difference between neighbouring positions</translation>
    </message>
    <message>
        <source>Максимально допустимая расширенная ставка</source>
        <translation>Largest extended stake allowed</translation>
    </message>
    <message>
        <source>Матрица тиража</source>
        <translation>Draw matrix</translation>
    </message>
    <message>
        <source>Менеджер избранных методов расчета статистики</source>
        <translation>Favourite statistic methods</translation>
    </message>
    <message>
        <source>Менее [ &lt; ]</source>
        <translation>Less [ &lt; ]</translation>
    </message>
    <message>
        <source>Метод расчета статистики; наберите часть названия для поиска</source>
        <translation>Statistic method; type part of its name to find it</translation>
    </message>
    <message>
        <source>Метод шинковки %0:d: %%s</source>
        <translation>Shredding method %0:d: %%s</translation>
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
        <source>Мои числа - должно присутствовать любое из указанных</source>
        <translation>My numbers - any of them must be present</translation>
    </message>
    <message>
        <source>Мои числа - исключить комбинации с любым из указанных</source>
        <translation>My numbers - drop combinations with any of them</translation>
    </message>
    <message>
        <source>Мои числа - комбинации только из списка указанных</source>
        <translation>My numbers - combinations of these numbers only</translation>
    </message>
    <message>
        <source>Мои числа или имя файла для загрузки:</source>
        <translation>My numbers or a file to load:</translation>
    </message>
    <message>
        <source>Мой</source>
        <translation>Mine</translation>
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
        <source>Название</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Название сценария должно быть указано обязательно!</source>
        <translation>The scenario title is required!</translation>
    </message>
    <message>
        <source>Название:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Наиболее часто встречающееся значение</source>
        <translation>Most frequent value</translation>
    </message>
    <message>
        <source>Наибольший промежуток в тиражах между двумя появлениями значения</source>
        <translation>The longest gap in draws between two appearances of the value</translation>
    </message>
    <message>
        <source>Наименование:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Наименьший промежуток в тиражах между двумя появлениями значения</source>
        <translation>The shortest gap in draws between two appearances of the value</translation>
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
        <source>Накопленное значение</source>
        <translation>Accumulated value</translation>
    </message>
    <message>
        <source>Накопленные совпадения строки на фоне полосы случайных тиражей</source>
        <translation>The row's accumulated hits against the band of random draws</translation>
    </message>
    <message>
        <source>Направление:</source>
        <translation>Direction:</translation>
    </message>
    <message>
        <source>Настройка</source>
        <translation>Tuning</translation>
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
        <source>Не более [ &lt;= ]</source>
        <translation>Not greater [ &lt;= ]</translation>
    </message>
    <message>
        <source>Не выбран метод расчета статистики (cb: %s)!</source>
        <translation>No statistic method chosen (cb: %s)!</translation>
    </message>
    <message>
        <source>Не выгружено тиражей с некорректными данными: %d.</source>
        <translation>Draws with invalid data not exported: %d.</translation>
    </message>
    <message>
        <source>Не делать ставок</source>
        <translation>No stakes</translation>
    </message>
    <message>
        <source>Не делать ставок (для последовательного выполнения)</source>
        <translation>Make no stakes (for runs one after another)</translation>
    </message>
    <message>
        <source>Не использовать proxy-сервер</source>
        <translation>No proxy server</translation>
    </message>
    <message>
        <source>Не менее [ &gt;= ]</source>
        <translation>Not less [ &gt;= ]</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Не найдено ни одного proxy-сервера с заданными параметрами</source>
        <translation>No proxy server found with the given settings</translation>
    </message>
    <message>
        <source>Не удалось заблокировать файл "%s": %s</source>
        <translation>The file "%s" could not be locked: %s</translation>
    </message>
    <message>
        <source>Не удалось найти proxy-сервер по имени</source>
        <translation>The proxy server name could not be resolved</translation>
    </message>
    <message>
        <source>Не удалось найти сервер по имени: нет сети или адрес неверен</source>
        <translation>The server name could not be resolved: no network, or the address is wrong</translation>
    </message>
    <message>
        <source>Не удалось ограничить доступ к файлу "%s"</source>
        <translation>Access to the file "%s" could not be restricted</translation>
    </message>
    <message>
        <source>Не удалось открыть страницу "%s" в браузере</source>
        <translation>The page "%s" could not be opened in the browser</translation>
    </message>
    <message>
        <source>Не удалось открыть файл "%s" программой для электронных таблиц</source>
        <translation>The file "%s" could not be opened with the spreadsheet program</translation>
    </message>
    <message>
        <source>Не удалось открыть файл "%s": %s</source>
        <translation>The file "%s" could not be opened: %s</translation>
    </message>
    <message>
        <source>Не удалось перезапустить программу!</source>
        <translation>The program could not be restarted!</translation>
    </message>
    <message>
        <source>Не удалось распаковать ответ сервера</source>
        <translation>The server's answer could not be unpacked</translation>
    </message>
    <message>
        <source>Не удалось создать HTTP-клиент</source>
        <translation>The HTTP client could not be created</translation>
    </message>
    <message>
        <source>Не удалось создать папку "%s": %s</source>
        <translation>The folder "%s" could not be created: %s</translation>
    </message>
    <message>
        <source>Не удалось установить защищённое соединение (TLS): сертификат сайта не прошёл проверку или сайт не поддерживает TLS</source>
        <translation>No secure connection (TLS): the site's certificate failed the check, or the site does not support TLS</translation>
    </message>
    <message>
        <source>Неверная дата в ответе сервера: "%s"</source>
        <translation>Invalid date in the server's answer: "%s"</translation>
    </message>
    <message>
        <source>Невозможно получить монопольный доступ к файлам данных!

Возможные причины данной ошибки: 

1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа нескольких копий программы возможна только из разных каталогов.

2) Для программы нет прав на запись в папке данных %s. Другую папку данных можно указать параметром --data-dir.

Программа будет закрыта!</source>
        <translation>The data files cannot be opened for exclusive use!

Possible reasons:

1) A second copy of the program is being started from the same folder. Several copies work only from different folders.

2) The program may not write in the data folder %s. Another data folder can be given with --data-dir.

The program will close now!</translation>
    </message>
    <message>
        <source>Неделя</source>
        <translation>Week</translation>
    </message>
    <message>
        <source>Неизвестная ошибка!</source>
        <translation>Unknown error!</translation>
    </message>
    <message>
        <source>Некорректная строка системы: "%s"!</source>
        <translation>Invalid system line: "%s"!</translation>
    </message>
    <message>
        <source>Некорректное описание фильтра: %s!</source>
        <translation>Invalid filter description: %s!</translation>
    </message>
    <message>
        <source>Некорректный адрес proxy-сервера: "%s"</source>
        <translation>Invalid proxy server address: "%s"</translation>
    </message>
    <message>
        <source>Некорректный номер порта proxy-сервера: "%s"</source>
        <translation>Invalid proxy server port: "%s"</translation>
    </message>
    <message>
        <source>Некорректный формат данных</source>
        <translation>Invalid data format</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Нижняя граница 95%, %</source>
        <translation>Lower 95% bound, %</translation>
    </message>
    <message>
        <source>Новые (24 часа с момента публикации)</source>
        <translation>New (24 hours since publication)</translation>
    </message>
    <message>
        <source>Номер последнего тиража окна, в котором встретилось значение</source>
        <translation>The window's last draw in which the value came</translation>
    </message>
    <message>
        <source>Номер тиража, в котором значение встретилось следующим после окна (при смещении)</source>
        <translation>The draw in which the value came next after the window (with an offset)</translation>
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
        <source>Обновить список систем</source>
        <translation>Refresh the system list</translation>
    </message>
    <message>
        <source>Обновить список сценариев</source>
        <translation>Refresh the scenario list</translation>
    </message>
    <message>
        <source>Обновить список тиражей?

Для выполнения обновления необходимо действующее подключение к сети Интернет.</source>
        <translation>Update the draw list?

The update needs a working Internet connection.</translation>
    </message>
    <message>
        <source>Обновление рейтинга...</source>
        <translation>Updating the rating...</translation>
    </message>
    <message>
        <source>Обработать все записи</source>
        <translation>Process every row</translation>
    </message>
    <message>
        <source>Общий</source>
        <translation>Shared</translation>
    </message>
    <message>
        <source>Одинаковые разности между соседними позициями</source>
        <translation>Equal differences between neighbouring positions</translation>
    </message>
    <message>
        <source>Ожд. КРН</source>
        <translation>Exp. KRN</translation>
    </message>
    <message>
        <source>Ожд. КРН − Факт: на сколько тиражей это ожидание разошлось с фактом</source>
        <translation>Exp. KRN − Actual: by how many draws this expectation missed</translation>
    </message>
    <message>
        <source>Ожд. ПРД</source>
        <translation>Exp. PRD</translation>
    </message>
    <message>
        <source>Ожд. ПРД − Факт: на сколько тиражей ожидание по периоду разошлось с фактом</source>
        <translation>Exp. PRD − Actual: by how many draws the period's expectation missed</translation>
    </message>
    <message>
        <source>Ожд. СТФ</source>
        <translation>Exp. STF</translation>
    </message>
    <message>
        <source>Ожд. СТФ − Факт: на сколько тиражей это ожидание разошлось с фактом</source>
        <translation>Exp. STF − Actual: by how many draws this expectation missed</translation>
    </message>
    <message>
        <source>Ожидаемые значения совпадений</source>
        <translation>Expected matches</translation>
    </message>
    <message>
        <source>Ожидаемый тираж по периоду: округл(W / Количество + Посл. тираж); при Количестве &gt; 1</source>
        <translation>Draw expected by the period: round(W / Count + Last draw); when Count &gt; 1</translation>
    </message>
    <message>
        <source>Ожидаемый тираж: округл((Количество + 1) × Посл. тираж / Количество)</source>
        <translation>Expected draw: round((Count + 1) × Last draw / Count)</translation>
    </message>
    <message>
        <source>Ожидаемый тираж: округл((Количество + 2) × (Посл. тираж + 1) / (Количество + 1))</source>
        <translation>Expected draw: round((Count + 2) × (Last draw + 1) / (Count + 1))</translation>
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
        <source>Описание:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>Опубликовать</source>
        <translation>Publish</translation>
    </message>
    <message>
        <source>Опубликовать новую систему</source>
        <translation>Publish a new system</translation>
    </message>
    <message>
        <source>Опубликовать текущий сценарий в online-каталоге</source>
        <translation>Publish the current scenario in the online catalogue</translation>
    </message>
    <message>
        <source>Опции</source>
        <translation>Options</translation>
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
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Остановить выполнение сценария</source>
        <translation>Stop the scenario</translation>
    </message>
    <message>
        <source>Остановка по:</source>
        <translation>Stop on:</translation>
    </message>
    <message>
        <source>Ось Y от нуля</source>
        <translation>Y axis from zero</translation>
    </message>
    <message>
        <source>Ось значений начинается с нуля; иначе она охватывает только значения графика</source>
        <translation>The value axis starts at zero; otherwise it spans only the chart's values</translation>
    </message>
    <message>
        <source>Ответ сервера длиннее %d МБ</source>
        <translation>The server's answer is longer than %d MB</translation>
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
        <source>Отображать метки на графике</source>
        <translation>Show marks on the chart</translation>
    </message>
    <message>
        <source>Отображать особенности метода [ YYY ] после названия метода</source>
        <translation>Show the method flags [ YYY ] after the method name</translation>
    </message>
    <message>
        <source>Отправить сценарий на сервер</source>
        <translation>Send the scenario to the server</translation>
    </message>
    <message>
        <source>Отправка оценки на сервер...</source>
        <translation>Sending the rating to the server...</translation>
    </message>
    <message>
        <source>Отчет о тесте...</source>
        <translation>Test report...</translation>
    </message>
    <message>
        <source>Оценка</source>
        <translation>Rating</translation>
    </message>
    <message>
        <source>Оценки пользователей</source>
        <translation>Users' ratings</translation>
    </message>
    <message>
        <source>Оценок</source>
        <translation>Ratings</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Ошибка автоматического выбора proxy сервера!</source>
        <translation>Automatic proxy server choice failed!</translation>
    </message>
    <message>
        <source>Ошибка генерации файла комбинаций!</source>
        <translation>Generating the combination file failed!</translation>
    </message>
    <message>
        <source>Ошибка добавления записи в файл ставок!</source>
        <translation>Adding a record to the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка добавления системы!</source>
        <translation>Adding the system failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки online-сценария!</source>
        <translation>Downloading the online scenario failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки архива тиражей с сайта: "%s"

Повторить попытку?</source>
        <translation>Downloading the draw archive from the site failed: "%s"

Try again?</translation>
    </message>
    <message>
        <source>Ошибка загрузки буфера комбинаций!</source>
        <translation>Loading the combination buffer failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки комбинаций системы!</source>
        <translation>Loading the system's combinations failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки параметров программы!</source>
        <translation>Loading the program settings failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки системы #%d!</source>
        <translation>Downloading system #%d failed!</translation>
    </message>
    <message>
        <source>Ошибка загрузки списка фильтров!</source>
        <translation>Loading the filter list failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл "%s"!</source>
        <translation>Writing the file "%s" failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл "%s"!

%s</source>
        <translation>Writing the file "%s" failed!

%s</translation>
    </message>
    <message>
        <source>Ошибка записи в файл конфигурации!</source>
        <translation>Writing the configuration file failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл регулярных ставок!</source>
        <translation>Writing the regular stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл рейтинга!</source>
        <translation>Writing the rating file failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл ставок!</source>
        <translation>Writing the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка записи в файл тиражей!</source>
        <translation>Writing the draws file failed!</translation>
    </message>
    <message>
        <source>Ошибка записи параметров экспорта!</source>
        <translation>Writing the export options failed!</translation>
    </message>
    <message>
        <source>Ошибка записи файла конфигурации!</source>
        <translation>Writing the configuration file failed!</translation>
    </message>
    <message>
        <source>Ошибка запуска программы!</source>
        <translation>Starting the program failed!</translation>
    </message>
    <message>
        <source>Ошибка изменения системы!</source>
        <translation>Changing the system failed!</translation>
    </message>
    <message>
        <source>Ошибка инициализации программы!</source>
        <translation>Starting the program failed!</translation>
    </message>
    <message>
        <source>Ошибка обновления рейтинга!</source>
        <translation>Updating the rating failed!</translation>
    </message>
    <message>
        <source>Ошибка открытия файла данных для полного набора вариантов!

Имя файла: %s</source>
        <translation>Opening the data file for the full combination set failed!

File name: %s</translation>
    </message>
    <message>
        <source>Ошибка отмены изменений!</source>
        <translation>Undoing the changes failed!</translation>
    </message>
    <message>
        <source>Ошибка поиска записи в файле ставок!</source>
        <translation>Finding the record in the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка поиска записи по номеру тиража в файле ставок!</source>
        <translation>Finding the record by draw number in the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка поиска обновлений!</source>
        <translation>Update check failed!</translation>
    </message>
    <message>
        <source>Ошибка получения списка proxy-серверов!</source>
        <translation>Getting the proxy server list failed!</translation>
    </message>
    <message>
        <source>Ошибка проверки на случайность!</source>
        <translation>The luck test failed!</translation>
    </message>
    <message>
        <source>Ошибка проверки ставок!</source>
        <translation>Checking the stakes failed!</translation>
    </message>
    <message>
        <source>Ошибка проверки уникальности online-сценария!</source>
        <translation>Checking that the online scenario's title is free failed!</translation>
    </message>
    <message>
        <source>Ошибка просмотра оценок online-сценария!</source>
        <translation>Showing the online scenario's ratings failed!</translation>
    </message>
    <message>
        <source>Ошибка просмотра свойств online-сценария!</source>
        <translation>Showing the online scenario's properties failed!</translation>
    </message>
    <message>
        <source>Ошибка публикации online-сценария!</source>
        <translation>Publishing the online scenario failed!</translation>
    </message>
    <message>
        <source>Ошибка расчета статистики!</source>
        <translation>Computing the statistics failed!</translation>
    </message>
    <message>
        <source>Ошибка создания буфера комбинаций!</source>
        <translation>Making the combination buffer failed!</translation>
    </message>
    <message>
        <source>Ошибка создания файла данных для полного набора вариантов!

Имя файла: %s</source>
        <translation>Creating the data file for the full combination set failed!

File name: %s</translation>
    </message>
    <message>
        <source>Ошибка сохранения online-сценария в базе данных!</source>
        <translation>Saving the online scenario in the database failed!</translation>
    </message>
    <message>
        <source>Ошибка сохранения оценки online-сценария!</source>
        <translation>Saving the online scenario's rating failed!</translation>
    </message>
    <message>
        <source>Ошибка сохранения параметров программы!</source>
        <translation>Saving the program settings failed!</translation>
    </message>
    <message>
        <source>Ошибка сохранения системы #%d!</source>
        <translation>Saving system #%d failed!</translation>
    </message>
    <message>
        <source>Ошибка сохранения списка фильтров!</source>
        <translation>Saving the filter list failed!</translation>
    </message>
    <message>
        <source>Ошибка удаления online-сценария из базы данных!</source>
        <translation>Deleting the online scenario from the database failed!</translation>
    </message>
    <message>
        <source>Ошибка удаления выделенных комбинаций!</source>
        <translation>Deleting the selected combinations failed!</translation>
    </message>
    <message>
        <source>Ошибка удаления записи из файла ставок!</source>
        <translation>Deleting the record from the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка удаления системы!</source>
        <translation>Deleting the system failed!</translation>
    </message>
    <message>
        <source>Ошибка удаления тиражей из списка комбинаций!</source>
        <translation>Removing the draws from the combination list failed!</translation>
    </message>
    <message>
        <source>Ошибка фильтрации комбинаций!</source>
        <translation>Filtering the combinations failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения записи из файла ставок!</source>
        <translation>Reading a record of the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла "%s"!</source>
        <translation>Reading the file "%s" failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла конфигурации!</source>
        <translation>Reading the configuration file failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла регулярных ставок!</source>
        <translation>Reading the regular stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла рейтинга!</source>
        <translation>Reading the rating file failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла ставок!</source>
        <translation>Reading the stakes file failed!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла тиражей!</source>
        <translation>Reading the draws file failed!</translation>
    </message>
    <message>
        <source>Ошибка экспорта в Microsoft Excel!</source>
        <translation>Exporting to Microsoft Excel failed!</translation>
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
        <source>Параметры системы...</source>
        <translation>System options...</translation>
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
        <source>Первая</source>
        <translation>First</translation>
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
        <source>Пересчитать рейтинг только по текущим ставкам?

Накопленные ранее данные по удаленным ставкам будут потеряны.</source>
        <translation>Rebuild the rating from the current stakes only?

What was gathered from deleted stakes will be lost.</translation>
    </message>
    <message>
        <source>Пересчитать статистику по выбранным параметрам</source>
        <translation>Recalculate the statistics with the chosen parameters</translation>
    </message>
    <message>
        <source>Пересчитать схему</source>
        <translation>Recalculate the layout</translation>
    </message>
    <message>
        <source>Пересчитать таблицы сравнения</source>
        <translation>Recalculate the comparison lists</translation>
    </message>
    <message>
        <source>Переходы (изменения) значений между тиражами</source>
        <translation>Transitions (changes) of values between draws</translation>
    </message>
    <message>
        <source>Переходы каналов между 2 тиражами без учета позиции</source>
        <translation>Transitions of channels between 2 draws, any position</translation>
    </message>
    <message>
        <source>Переходы каналов между 2 тиражами в %d позиции</source>
        <translation>Transitions of channels between 2 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы каналов между 2 тиражами с учетом позиции</source>
        <translation>Transitions of channels between 2 draws, by position</translation>
    </message>
    <message>
        <source>Переходы каналов между 3 тиражами в %d позиции</source>
        <translation>Transitions of channels between 3 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы каналов между 3 тиражами с учетом позиции</source>
        <translation>Transitions of channels between 3 draws, by position</translation>
    </message>
    <message>
        <source>Переходы кол-ва чисел в %d канале между 2 тиражами</source>
        <translation>Transitions of the count in channel %d between 2 draws</translation>
    </message>
    <message>
        <source>Переходы кол-ва чисел в %d канале между 3 тиражами</source>
        <translation>Transitions of the count in channel %d between 3 draws</translation>
    </message>
    <message>
        <source>Переходы кол-ва чисел в %d сегменте между 2 тиражами</source>
        <translation>Transitions of the count in segment %d between 2 draws</translation>
    </message>
    <message>
        <source>Переходы кол-ва чисел в %d сегменте между 3 тиражами</source>
        <translation>Transitions of the count in segment %d between 3 draws</translation>
    </message>
    <message>
        <source>Переходы сегментов между 2 тиражами без учета позиции</source>
        <translation>Transitions of segments between 2 draws, any position</translation>
    </message>
    <message>
        <source>Переходы сегментов между 2 тиражами в %d позиции</source>
        <translation>Transitions of segments between 2 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы сегментов между 2 тиражами с учетом позиции</source>
        <translation>Transitions of segments between 2 draws, by position</translation>
    </message>
    <message>
        <source>Переходы сегментов между 3 тиражами в %d позиции</source>
        <translation>Transitions of segments between 3 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы сегментов между 3 тиражами с учетом позиции</source>
        <translation>Transitions of segments between 3 draws, by position</translation>
    </message>
    <message>
        <source>Переходы чисел в пределах каналов (N-0, не удачные)</source>
        <translation>Number transitions within channels (N-0, misses)</translation>
    </message>
    <message>
        <source>Переходы чисел в пределах каналов (N-M, удачные)</source>
        <translation>Number transitions within channels (N-M, hits)</translation>
    </message>
    <message>
        <source>Переходы чисел в пределах каналов (все)</source>
        <translation>Number transitions within channels (all)</translation>
    </message>
    <message>
        <source>Переходы чисел в пределах каналов (количество)</source>
        <translation>Number transitions within channels (count)</translation>
    </message>
    <message>
        <source>Переходы чисел между 2 тиражами без учета позиции</source>
        <translation>Transitions of numbers between 2 draws, any position</translation>
    </message>
    <message>
        <source>Переходы чисел между 2 тиражами в %d позиции</source>
        <translation>Transitions of numbers between 2 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы чисел между 2 тиражами с учетом позиции</source>
        <translation>Transitions of numbers between 2 draws, by position</translation>
    </message>
    <message>
        <source>Переходы чисел между 3 тиражами в %d позиции</source>
        <translation>Transitions of numbers between 3 draws in position %d</translation>
    </message>
    <message>
        <source>Переходы чисел между 3 тиражами с учетом позиции</source>
        <translation>Transitions of numbers between 3 draws, by position</translation>
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
        <source>Периоды повторения значений</source>
        <translation>Repeat periods of values</translation>
    </message>
    <message>
        <source>Периоды повторения каналов</source>
        <translation>Repeat periods of channels</translation>
    </message>
    <message>
        <source>Периоды повторения сегментов</source>
        <translation>Repeat periods of segments</translation>
    </message>
    <message>
        <source>Периоды повторения чисел</source>
        <translation>Repeat periods of numbers</translation>
    </message>
    <message>
        <source>По запросу (по умолчанию)</source>
        <translation>On request (default)</translation>
    </message>
    <message>
        <source>Повреждённое поле &lt;%s&gt; в ответе сервера</source>
        <translation>Damaged field &lt;%s&gt; in the server's answer</translation>
    </message>
    <message>
        <source>Повторы</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>Повторы каналов в нескольких тиражах подряд</source>
        <translation>Channel repeats in several draws in a row</translation>
    </message>
    <message>
        <source>Повторы сегментов в нескольких тиражах подряд</source>
        <translation>Segment repeats in several draws in a row</translation>
    </message>
    <message>
        <source>Повторы чисел в нескольких тиражах подряд</source>
        <translation>Number repeats in several draws in a row</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в 2-х тиражах подряд</source>
        <translation>Numbers repeated in 2 draws in a row</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в 2-х тиражах через 1 тираж(а)</source>
        <translation>Numbers repeated in 2 draws 1 draw(s) apart</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в 2-х тиражах через 2 тираж(а)</source>
        <translation>Numbers repeated in 2 draws 2 draw(s) apart</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в 2-х тиражах через 3 тираж(а)</source>
        <translation>Numbers repeated in 2 draws 3 draw(s) apart</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в 3-х тиражах подряд</source>
        <translation>Numbers repeated in 3 draws in a row</translation>
    </message>
    <message>
        <source>Повторяющиеся числа в нескольких тиражах</source>
        <translation>Numbers repeated in several draws</translation>
    </message>
    <message>
        <source>Повторяющиеся числа не более чем в 2-х тиражах</source>
        <translation>Numbers repeated in at most 2 draws</translation>
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
        <source>Поиск метода</source>
        <translation>Find a method</translation>
    </message>
    <message>
        <source>Поиск обновлений</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>Поиск обновлений...</source>
        <translation>Checking for updates...</translation>
    </message>
    <message>
        <source>Поиск по архиву тиражей...</source>
        <translation>Searching the draw archive...</translation>
    </message>
    <message>
        <source>Поиск файлов журналов...</source>
        <translation>Looking for log files...</translation>
    </message>
    <message>
        <source>Пока список не будет пуст и откатить на шаг</source>
        <translation>Until the list is empty, then one step back</translation>
    </message>
    <message>
        <source>Показать или скрыть online каталог сценариев</source>
        <translation>Show or hide the online scenario catalogue</translation>
    </message>
    <message>
        <source>Показать или скрыть вкладку систем</source>
        <translation>Show or hide the systems tab</translation>
    </message>
    <message>
        <source>Полный список (все возможные для данного лото варианты)</source>
        <translation>Full list (every combination this lottery allows)</translation>
    </message>
    <message>
        <source>Попытка %d, proxy %s : %d</source>
        <translation>Attempt %d, proxy %s : %d</translation>
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
        <source>Последняя</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>Последняя:</source>
        <translation>Last:</translation>
    </message>
    <message>
        <source>Последовательности чисел в одном тираже</source>
        <translation>Runs of numbers in one draw</translation>
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
        <source>Построить графики по выбранным параметрам</source>
        <translation>Draw the charts with the chosen parameters</translation>
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
        <source>Примененные фильтры</source>
        <translation>Applied filters</translation>
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
        <source>Проверка на случайность</source>
        <translation>Luck test</translation>
    </message>
    <message>
        <source>Проверка на случайность...</source>
        <translation>Luck test...</translation>
    </message>
    <message>
        <source>Проверять наличие новой версии при запуске</source>
        <translation>Check for a new version at start-up</translation>
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
        <source>Программа</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Прокручивать список при добавлении</source>
        <translation>Scroll the list when adding</translation>
    </message>
    <message>
        <source>Пропустить</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Пропустить (игнорировать) эту ставку</source>
        <translation>Skip this stake</translation>
    </message>
    <message>
        <source>Пропущено тиражей: %d
</source>
        <translation>Draws skipped: %d
</translation>
    </message>
    <message>
        <source>Просмотр оценок</source>
        <translation>Show ratings</translation>
    </message>
    <message>
        <source>Просмотр подробных сведений о тираже</source>
        <translation>Show the details of the draw</translation>
    </message>
    <message>
        <source>Простые и составные числа (ПС..СП)</source>
        <translation>Prime and composite numbers (PC..CP)</translation>
    </message>
    <message>
        <source>Профит</source>
        <translation>Profit</translation>
    </message>
    <message>
        <source>Профит / Ставок: профит на ставку</source>
        <translation>Profit / Stakes: profit per stake</translation>
    </message>
    <message>
        <source>Профит сверх среднего на случайных тиражах</source>
        <translation>Profit above the mean of random draws</translation>
    </message>
    <message>
        <source>Процентному соотношению в списке статистики</source>
        <translation>Percentage in the statistics list</translation>
    </message>
    <message>
        <source>Равно [ = ]</source>
        <translation>Equal [ = ]</translation>
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
        <source>Разности между числами тиража</source>
        <translation>Differences between the draw's numbers</translation>
    </message>
    <message>
        <source>Разность между минимальным и максимальным числом</source>
        <translation>Difference between the smallest and the largest number</translation>
    </message>
    <message>
        <source>Распределение сумм тиражей и всех возможных комбинаций</source>
        <translation>Sums of the draws and of all possible combinations</translation>
    </message>
    <message>
        <source>Рассчитать</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Расширенная ставка:</source>
        <translation>Extended stake:</translation>
    </message>
    <message>
        <source>Расширенная статистика</source>
        <translation>Extended statistics</translation>
    </message>
    <message>
        <source>Регуляр</source>
        <translation>Regular</translation>
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
        <source>Режим графика на вкладке "дни недели"</source>
        <translation>Chart mode of the "Weekdays" tab</translation>
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
        <source>Рейтинг последнего теста</source>
        <translation>Rating of the last test</translation>
    </message>
    <message>
        <source>Рейтинг: %d</source>
        <translation>Rating: %d</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>Ручной выбор proxy-сервера:</source>
        <translation>Proxy server chosen by hand:</translation>
    </message>
    <message>
        <source>С моими оценками</source>
        <translation>Rated by me</translation>
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
        <source>Свойства</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Свойства системы</source>
        <translation>System properties</translation>
    </message>
    <message>
        <source>Свойства сценария</source>
        <translation>Scenario properties</translation>
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
        <source>Сегменты матрицы</source>
        <translation>Matrix segments</translation>
    </message>
    <message>
        <source>Сегменты матрицы тиража</source>
        <translation>Segments of the draw matrix</translation>
    </message>
    <message>
        <source>Сегменты матрицы:</source>
        <translation>Matrix segments:</translation>
    </message>
    <message>
        <source>Сервер не вернул номер системы</source>
        <translation>The server returned no system number</translation>
    </message>
    <message>
        <source>Сервер не вернул номер сценария</source>
        <translation>The server returned no scenario number</translation>
    </message>
    <message>
        <source>Сервер не ответил вовремя</source>
        <translation>The server did not answer in time</translation>
    </message>
    <message>
        <source>Сервер не принимает соединение</source>
        <translation>The server refuses the connection</translation>
    </message>
    <message>
        <source>Сервер не сообщил результат проверки</source>
        <translation>The server gave no result of the check</translation>
    </message>
    <message>
        <source>Сервер ответил ошибкой HTTP</source>
        <translation>The server answered with an HTTP error</translation>
    </message>
    <message>
        <source>Сервер ответил ошибкой HTTP %d</source>
        <translation>The server answered with HTTP error %d</translation>
    </message>
    <message>
        <source>Серии (цепочки) значений</source>
        <translation>Series (chains) of values</translation>
    </message>
    <message>
        <source>Сжатый (%s) ответ сервера оборван: данные неполны</source>
        <translation>The compressed (%s) answer of the server broke off: the data is incomplete</translation>
    </message>
    <message>
        <source>Сжатый (%s) ответ сервера поврежден: %s</source>
        <translation>The compressed (%s) answer of the server is damaged: %s</translation>
    </message>
    <message>
        <source>Система</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Система #%d не найдена</source>
        <translation>System #%d not found</translation>
    </message>
    <message>
        <source>Система [все]</source>
        <translation>System [all]</translation>
    </message>
    <message>
        <source>Система [комб]</source>
        <translation>System [combs]</translation>
    </message>
    <message>
        <source>Система для %d чисел не найдена или не загружена на компьютер!</source>
        <translation>No system for %d numbers found, or it is not downloaded to this computer!</translation>
    </message>
    <message>
        <source>Системная игра</source>
        <translation>System play</translation>
    </message>
    <message>
        <source>Системная игра [вся система]</source>
        <translation>System play [whole system]</translation>
    </message>
    <message>
        <source>Системная игра [система * комбинации]</source>
        <translation>System play [system * combinations]</translation>
    </message>
    <message>
        <source>Системы</source>
        <translation>Systems</translation>
    </message>
    <message>
        <source>Скачать из каталога</source>
        <translation>Download from the catalogue</translation>
    </message>
    <message>
        <source>Скачивание сценария из online-каталога...</source>
        <translation>Downloading the scenario from the online catalogue...</translation>
    </message>
    <message>
        <source>Сколько последних тиражей теста не использовать для настройки: по ним видно, работает ли идея на тиражах, которых она не видела</source>
        <translation>How many of the test's latest draws to keep out of tuning: they show whether the idea works on draws it has not seen</translation>
    </message>
    <message>
        <source>Сколько проверенных ставок у идеи</source>
        <translation>Checked stakes of the idea</translation>
    </message>
    <message>
        <source>Сколько раз значение встретилось в окне из W тиражей</source>
        <translation>How often the value came in the window of W draws</translation>
    </message>
    <message>
        <source>Сколько тиражей назад значение встретилось последний раз (1 — в последнем тираже окна)</source>
        <translation>How many draws ago the value last came (1: in the window's last draw)</translation>
    </message>
    <message>
        <source>Скрытые</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>Скрытый</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Графики"</source>
        <translation>Hide / show the "Charts" tab</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Карта тиражей"</source>
        <translation>Hide / show the "Number card" tab</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Неделя"</source>
        <translation>Hide / show the "Week" tab</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Регуляры"</source>
        <translation>Hide / show the "Regulars" tab</translation>
    </message>
    <message>
        <source>Скрыть / показать вкладку "Схема выпадения номеров"</source>
        <translation>Hide / show the "Number layout" tab</translation>
    </message>
    <message>
        <source>Скрыть сценарий</source>
        <translation>Hide the scenario</translation>
    </message>
    <message>
        <source>Следующий тираж: %d</source>
        <translation>Next draw: %d</translation>
    </message>
    <message>
        <source>Случайно</source>
        <translation>Random</translation>
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
        <source>Совпадений: %d</source>
        <translation>Matches: %d</translation>
    </message>
    <message>
        <source>Совпадения</source>
        <translation>Matched</translation>
    </message>
    <message>
        <source>Совпадения сверх ожидаемых на случайных тиражах</source>
        <translation>Matches above what random draws give</translation>
    </message>
    <message>
        <source>Совпало</source>
        <translation>Matched</translation>
    </message>
    <message>
        <source>Совпало / Ставок: совпавших чисел на ставку</source>
        <translation>Matched / Stakes: matched numbers per stake</translation>
    </message>
    <message>
        <source>Содержание</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Соединение с сервером прервано</source>
        <translation>The connection to the server broke off</translation>
    </message>
    <message>
        <source>Создан</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Создана:</source>
        <translation>Created:</translation>
    </message>
    <message>
        <source>Создание буфера комбинаций...</source>
        <translation>Making the combination buffer...</translation>
    </message>
    <message>
        <source>Создание графиков...</source>
        <translation>Drawing the charts...</translation>
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
        <source>Создание отчета о тесте...</source>
        <translation>Writing the test report...</translation>
    </message>
    <message>
        <source>Создание регулярных ставок...</source>
        <translation>Making regular stakes...</translation>
    </message>
    <message>
        <source>Создание ставки...</source>
        <translation>Making the stake...</translation>
    </message>
    <message>
        <source>Создание ставок по регулярным табличным ставкам...</source>
        <translation>Making stakes from the regular stakes...</translation>
    </message>
    <message>
        <source>Создание ставок...</source>
        <translation>Making stakes...</translation>
    </message>
    <message>
        <source>Создание файла предварительной выборки %s...</source>
        <translation>Creating the prefetch file %s...</translation>
    </message>
    <message>
        <source>Создание файлов для полного набора комбинаций...</source>
        <translation>Creating the files for the full combination set...</translation>
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
        <source>Сортировка рейтинга...</source>
        <translation>Sorting the rating...</translation>
    </message>
    <message>
        <source>Сохранение "%s"...</source>
        <translation>Saving "%s"...</translation>
    </message>
    <message>
        <source>Сохранение сценария в базе данных...</source>
        <translation>Saving the scenario in the database...</translation>
    </message>
    <message>
        <source>Сохранение файла "%s"...</source>
        <translation>Saving the file "%s"...</translation>
    </message>
    <message>
        <source>Сохранение файла конфигурации...</source>
        <translation>Saving the configuration file...</translation>
    </message>
    <message>
        <source>Сохранение файла регулярных ставок...</source>
        <translation>Saving the regular stakes file...</translation>
    </message>
    <message>
        <source>Сохранение файла рейтинга...</source>
        <translation>Saving the rating file...</translation>
    </message>
    <message>
        <source>Сохранение файла ставок...</source>
        <translation>Saving the stakes file...</translation>
    </message>
    <message>
        <source>Сохранение файла тиражей...</source>
        <translation>Saving the draws file...</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Сохранить в файл</source>
        <translation>Save to a file</translation>
    </message>
    <message>
        <source>Сохранить эти параметры для генерации комбинаций "по умолчанию"</source>
        <translation>Save these settings as the default generation</translation>
    </message>
    <message>
        <source>Сочетания из 2 каналов по всем числам тиража</source>
        <translation>Tuples of 2 channels over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2 каналов по соседним числам</source>
        <translation>Tuples of 2 channels over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 2 разностей между числами</source>
        <translation>Tuples of 2 differences between numbers</translation>
    </message>
    <message>
        <source>Сочетания из 2 сегментов по всем числам тиража</source>
        <translation>Tuples of 2 segments over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2 сегментов по соседним числам</source>
        <translation>Tuples of 2 segments over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 2 соседних чисел тиража</source>
        <translation>Tuples of 2 neighbouring numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2 столбцов по всем числам тиража</source>
        <translation>Tuples of 2 columns over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2 столбцов по соседним числам</source>
        <translation>Tuples of 2 columns over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 2 строк по всем числам тиража</source>
        <translation>Tuples of 2 rows over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2 строк по соседним числам</source>
        <translation>Tuples of 2 rows over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 2 чисел по всем числам тиража</source>
        <translation>Tuples of 2 numbers over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 2-х чисел тиража начиная с %0:d позиции</source>
        <translation>Tuples of 2 numbers of the draw from position %0:d</translation>
    </message>
    <message>
        <source>Сочетания из 3 каналов по всем числам тиража</source>
        <translation>Tuples of 3 channels over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3 каналов по соседним числам</source>
        <translation>Tuples of 3 channels over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 3 разностей между числами</source>
        <translation>Tuples of 3 differences between numbers</translation>
    </message>
    <message>
        <source>Сочетания из 3 сегментов по всем числам тиража</source>
        <translation>Tuples of 3 segments over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3 сегментов по соседним числам</source>
        <translation>Tuples of 3 segments over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 3 соседних чисел тиража</source>
        <translation>Tuples of 3 neighbouring numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3 столбцов по всем числам тиража</source>
        <translation>Tuples of 3 columns over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3 столбцов по соседним числам</source>
        <translation>Tuples of 3 columns over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 3 строк по всем числам тиража</source>
        <translation>Tuples of 3 rows over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3 строк по соседним числам</source>
        <translation>Tuples of 3 rows over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 3 чисел по всем числам тиража</source>
        <translation>Tuples of 3 numbers over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 3-х чисел тиража начиная с %0:d позиции</source>
        <translation>Tuples of 3 numbers of the draw from position %0:d</translation>
    </message>
    <message>
        <source>Сочетания из 4 каналов по всем числам тиража</source>
        <translation>Tuples of 4 channels over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4 каналов по соседним числам</source>
        <translation>Tuples of 4 channels over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 4 разностей между числами</source>
        <translation>Tuples of 4 differences between numbers</translation>
    </message>
    <message>
        <source>Сочетания из 4 сегментов по всем числам тиража</source>
        <translation>Tuples of 4 segments over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4 сегментов по соседним числам</source>
        <translation>Tuples of 4 segments over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 4 соседних чисел тиража</source>
        <translation>Tuples of 4 neighbouring numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4 столбцов по всем числам тиража</source>
        <translation>Tuples of 4 columns over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4 столбцов по соседним числам</source>
        <translation>Tuples of 4 columns over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 4 строк по всем числам тиража</source>
        <translation>Tuples of 4 rows over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4 строк по соседним числам</source>
        <translation>Tuples of 4 rows over neighbouring numbers</translation>
    </message>
    <message>
        <source>Сочетания из 4 чисел по всем числам тиража</source>
        <translation>Tuples of 4 numbers over all numbers of the draw</translation>
    </message>
    <message>
        <source>Сочетания из 4-х чисел тиража начиная с %0:d позиции</source>
        <translation>Tuples of 4 numbers of the draw from position %0:d</translation>
    </message>
    <message>
        <source>Сочетания столбцов матрицы</source>
        <translation>Tuples of matrix columns</translation>
    </message>
    <message>
        <source>Сочетания строк матрицы</source>
        <translation>Tuples of matrix rows</translation>
    </message>
    <message>
        <source>Список избранных фильтров в файле "%s" называет неизвестные методы: %s. Они пропущены и сохраняются в файле без изменений.</source>
        <translation>The favourite filter list in the file "%s" names unknown methods: %s. They are skipped and stay in the file unchanged.</translation>
    </message>
    <message>
        <source>Список комбинаций:</source>
        <translation>Combination list:</translation>
    </message>
    <message>
        <source>Список тиражей</source>
        <translation>Draw list</translation>
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
        <source>Сравнение %1</source>
        <translation>Comparison %1</translation>
    </message>
    <message>
        <source>Среднее</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>Среднее значение</source>
        <translation>Mean value</translation>
    </message>
    <message>
        <source>Средний период: W / Количество</source>
        <translation>Mean period: W / Count</translation>
    </message>
    <message>
        <source>Ссылка</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Ссылка:</source>
        <translation>Link:</translation>
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
        <source>Ставок, у которых совпадений: %1</source>
        <translation>Stakes with %1 matches</translation>
    </message>
    <message>
        <source>Ставок: %d</source>
        <translation>Stakes: %d</translation>
    </message>
    <message>
        <source>Ставок: 0</source>
        <translation>Stakes: 0</translation>
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
        <source>Статус</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Стоимость одной ставки</source>
        <translation>Cost of one stake</translation>
    </message>
    <message>
        <source>Стоимость ставки:</source>
        <translation>Stake cost:</translation>
    </message>
    <message>
        <source>Столбцы матрицы (не пустые)</source>
        <translation>Matrix columns (non-empty)</translation>
    </message>
    <message>
        <source>Столбцы матрицы со смежными числами</source>
        <translation>Matrix columns with adjacent numbers (which)</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Страница сайта не прочитана: на ней нет списка тиражей (получено байт: %d).</source>
        <translation>The site's page was not read: it has no list of draws (bytes received: %d).</translation>
    </message>
    <message>
        <source>Страница сайта не прочитана: тиражей в списке %d, отклонено %d (%s).</source>
        <translation>The site's page was not read: draws in the list %d, refused %d (%s).</translation>
    </message>
    <message>
        <source>Строк: %d</source>
        <translation>Lines: %d</translation>
    </message>
    <message>
        <source>Строка: %d</source>
        <translation>Line: %d</translation>
    </message>
    <message>
        <source>Строка: 0</source>
        <translation>Line: 0</translation>
    </message>
    <message>
        <source>Строки матрицы (не пустые)</source>
        <translation>Matrix rows (non-empty)</translation>
    </message>
    <message>
        <source>Строки матрицы со смежными числами</source>
        <translation>Matrix rows with adjacent numbers (which)</translation>
    </message>
    <message>
        <source>Строки рейтинга последнего теста отдельно по тиражам настройки и контрольным</source>
        <translation>The last test's rating rows, tuning draws and hold-out draws apart</translation>
    </message>
    <message>
        <source>Сумма выигрыша</source>
        <translation>Prize</translation>
    </message>
    <message>
        <source>Сумма двух чисел тиража равна третьему числу</source>
        <translation>Two numbers of the draw add up to a third</translation>
    </message>
    <message>
        <source>Сумма профита всех ставок</source>
        <translation>Profit of all its stakes</translation>
    </message>
    <message>
        <source>Сумма совпавших чисел всех ставок</source>
        <translation>Matched numbers of all its stakes</translation>
    </message>
    <message>
        <source>Сумма тиража: все значения</source>
        <translation>Draw sum: all values</translation>
    </message>
    <message>
        <source>Сумма тиража: диапазон %d (%d/%d)</source>
        <translation>Draw sum: range %d (%d/%d)</translation>
    </message>
    <message>
        <source>Сумма тиража: изменения (диапазон)</source>
        <translation>Draw sum: change (range)</translation>
    </message>
    <message>
        <source>Сумма тиража: изменения (точно)</source>
        <translation>Draw sum: change (exact)</translation>
    </message>
    <message>
        <source>Сумма тиража: направление изменения</source>
        <translation>Draw sum: direction of change</translation>
    </message>
    <message>
        <source>Сумма тиража: только простые</source>
        <translation>Draw sum: primes only</translation>
    </message>
    <message>
        <source>Сумма тиража: только четные</source>
        <translation>Draw sum: even numbers only</translation>
    </message>
    <message>
        <source>Сумма чисел тиража</source>
        <translation>Sum of the draw's numbers</translation>
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
        <source>Суммарный профит ставок по тиражу</source>
        <translation>Total stake profit per draw</translation>
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
        <source>Сценарий виден всем пользователям</source>
        <translation>Everyone sees the scenario</translation>
    </message>
    <message>
        <source>Сценарий виден только мне</source>
        <translation>Only I see the scenario</translation>
    </message>
    <message>
        <source>Сценарий с таким названием уже существует!
Выберите другое название.</source>
        <translation>A scenario with this title already exists!
Choose another title.</translation>
    </message>
    <message>
        <source>Таблица</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Таблица выигрышей пуста (Параметры системы): профит каждой ставки равен нулю, и проверка профита на случайность ничего не показывает.</source>
        <translation>The prize table is empty (System options): every stake's profit is zero, and the profit's luck test shows nothing.</translation>
    </message>
    <message>
        <source>Таблица выигрышей пуста: проверенные ставки показывают нулевой выигрыш.</source>
        <translation>The prize table is empty: checked stakes show no winnings.</translation>
    </message>
    <message>
        <source>Таблицы сравнения:</source>
        <translation>Comparison lists:</translation>
    </message>
    <message>
        <source>Текущая комбинация</source>
        <translation>Current combination</translation>
    </message>
    <message>
        <source>Текущий список</source>
        <translation>Current list</translation>
    </message>
    <message>
        <source>Текущий список (для последовательного выполнения)</source>
        <translation>Current list (for runs one after another)</translation>
    </message>
    <message>
        <source>Теоретическое распределение сумм (по комбинациям)</source>
        <translation>Theoretical distribution of sums (combinations)</translation>
    </message>
    <message>
        <source>Тест</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Тест заменит текущий список комбинаций; вернуть прежний список можно командой "Отменить" после окончания или остановки теста.</source>
        <translation>The test replaces the current combination list; "Undo" brings the old list back after the test ends or is stopped.</translation>
    </message>
    <message>
        <source>Тест регуляров</source>
        <translation>Regulars test</translation>
    </message>
    <message>
        <source>Тестов</source>
        <translation>Tests</translation>
    </message>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Тип графика:</source>
        <translation>Chart type:</translation>
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
        <source>Только в "%1"</source>
        <translation>Only in "%1"</translation>
    </message>
    <message>
        <source>Только мои</source>
        <translation>Mine only</translation>
    </message>
    <message>
        <source>Только новые ставки</source>
        <translation>New stakes only</translation>
    </message>
    <message>
        <source>Только новые ставки (пропускать те ставки, которые уже есть в списке)</source>
        <translation>New stakes only (skip stakes already in the list)</translation>
    </message>
    <message>
        <source>Только публичные</source>
        <translation>Public only</translation>
    </message>
    <message>
        <source>Удаление "%s"...</source>
        <translation>Deleting "%s"...</translation>
    </message>
    <message>
        <source>Удаление выделенных комбинаций...</source>
        <translation>Deleting the selected combinations...</translation>
    </message>
    <message>
        <source>Удаление выделенных тиражей....</source>
        <translation>Deleting the selected draws....</translation>
    </message>
    <message>
        <source>Удаление из списка комбинаций %d последних тиражей ( завершено %.0f %% )...</source>
        <translation>Removing the %d latest draws from the combination list ( %.0f %% done )...</translation>
    </message>
    <message>
        <source>Удаление из списка комбинаций %d последних тиражей...</source>
        <translation>Removing the %d latest draws from the combination list...</translation>
    </message>
    <message>
        <source>Удаление по условию</source>
        <translation>Delete by condition</translation>
    </message>
    <message>
        <source>Удаление регулярных ставок...</source>
        <translation>Deleting regular stakes...</translation>
    </message>
    <message>
        <source>Удаление строк...</source>
        <translation>Deleting lines...</translation>
    </message>
    <message>
        <source>Удаление сценария из базы данных...</source>
        <translation>Deleting the scenario from the database...</translation>
    </message>
    <message>
        <source>Удаление файлов завершено с ошибками.</source>
        <translation>Files deleted with errors.</translation>
    </message>
    <message>
        <source>Удаление файлов завершено.</source>
        <translation>Files deleted.</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Удалить N последних тиражей (для прогнозов)</source>
        <translation>Remove the N latest draws (for forecasts)</translation>
    </message>
    <message>
        <source>Удалить все</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>Удалить все выделенные записи (всего будет удалено %d записи(ей))?</source>
        <translation>Delete all selected records (%d record(s) in all)?</translation>
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
        <source>Удалить выделенную запись?</source>
        <translation>Delete the selected record?</translation>
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
        <source>Удалить оценку</source>
        <translation>Remove my rating</translation>
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
        <source>Удалить свою систему</source>
        <translation>Delete my system</translation>
    </message>
    <message>
        <source>Удалить ставки</source>
        <translation>Delete stakes</translation>
    </message>
    <message>
        <source>Удалить ставку</source>
        <translation>Delete the stake</translation>
    </message>
    <message>
        <source>Узнать у каталога, есть ли новая версия программы</source>
        <translation>Ask the catalogue whether a newer version exists</translation>
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
        <source>Українська</source>
        <translation>Ukrainian</translation>
    </message>
    <message>
        <source>Универсальный</source>
        <translation>Universal</translation>
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
        <source>Установлена последняя версия программы (%s).</source>
        <translation>The latest version of the program is installed (%s).</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Файл "%s" занят другим процессом</source>
        <translation>The file "%s" is in use by another process</translation>
    </message>
    <message>
        <source>Файл "%s" не будет перезаписан до завершения работы программы, чтобы не потерять непрочитанные записи.</source>
        <translation>The file "%s" will not be rewritten until the program ends, so that the records not read are not lost.</translation>
    </message>
    <message>
        <source>Файл "%s" не был прочитан при этом запуске программы; запись в него отменена, чтобы не потерять его записи.</source>
        <translation>The file "%s" was not read in this run of the program; writing it is cancelled so that its records are not lost.</translation>
    </message>
    <message>
        <source>Файл "%s" не содержит комбинаций!</source>
        <translation>The file "%s" holds no combinations!</translation>
    </message>
    <message>
        <source>Файл регулярных ставок "%s" заканчивается неполной записью (%d байт); она не прочитана.</source>
        <translation>The regular stakes file "%s" ends in an incomplete record (%d bytes); it was not read.</translation>
    </message>
    <message>
        <source>Файл рейтинга "%s" заканчивается неполной записью (%d байт); она не прочитана.</source>
        <translation>The rating file "%s" ends in an incomplete record (%d bytes); it was not read.</translation>
    </message>
    <message>
        <source>Файл ставок не открыт!</source>
        <translation>The stakes file is not open!</translation>
    </message>
    <message>
        <source>Файл тиражей "%s" поврежден.</source>
        <translation>The draws file "%s" is damaged.</translation>
    </message>
    <message>
        <source>Файлы журналов не найдены!</source>
        <translation>No log files found!</translation>
    </message>
    <message>
        <source>Файлы комбинаций (*.lcv)</source>
        <translation>Combination files (*.lcv)</translation>
    </message>
    <message>
        <source>Файлы сценариев (*.lsc)</source>
        <translation>Scenario files (*.lsc)</translation>
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
        <source>Фактическое распределение сумм (по тиражам)</source>
        <translation>Actual distribution of sums (draws)</translation>
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
        <source>Фильтр %d</source>
        <translation>Filter %d</translation>
    </message>
    <message>
        <source>Фильтр %d из %d: %s</source>
        <translation>Filter %d of %d: %s</translation>
    </message>
    <message>
        <source>Фильтр (строка таблицы)</source>
        <translation>Filter (table row)</translation>
    </message>
    <message>
        <source>Фильтр 1</source>
        <translation>Filter 1</translation>
    </message>
    <message>
        <source>Фильтр 1:</source>
        <translation>Filter 1:</translation>
    </message>
    <message>
        <source>Фильтр 7</source>
        <translation>Filter 7</translation>
    </message>
    <message>
        <source>Фильтр 7:</source>
        <translation>Filter 7:</translation>
    </message>
    <message>
        <source>Фильтр сценариев</source>
        <translation>Scenario filter</translation>
    </message>
    <message>
        <source>Фильтрация комбинаций...</source>
        <translation>Filtering the combinations...</translation>
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
        <source>Характеристическое число Карвела</source>
        <translation>Karvel's characteristic number</translation>
    </message>
    <message>
        <source>Цикл: %d</source>
        <translation>Cycle: %d</translation>
    </message>
    <message>
        <source>Цикл: 0</source>
        <translation>Cycle: 0</translation>
    </message>
    <message>
        <source>Цифры тиража</source>
        <translation>Digits of the draw</translation>
    </message>
    <message>
        <source>Четные и нечетные числа в тираже (Чн..нЧ)</source>
        <translation>Even and odd numbers in the draw (Eo..oE)</translation>
    </message>
    <message>
        <source>Числа</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>Числа Карвела 3 (динамический, только фильтр)</source>
        <translation>Karvel numbers 3 (dynamic, filter only)</translation>
    </message>
    <message>
        <source>Числа из первой половины диапазона (12..12)</source>
        <translation>Numbers from the first half of the range (12..12)</translation>
    </message>
    <message>
        <source>Числа тиража</source>
        <translation>Draw numbers</translation>
    </message>
    <message>
        <source>Числа тиража в порядке выпадения (по возрастанию — «Упорядочить MIN-&gt;MAX» в меню «Тиражи»)</source>
        <translation>The draw's numbers in the order drawn (ascending: "Sort MIN-&gt;MAX" in the "Draws" menu)</translation>
    </message>
    <message>
        <source>Числа тиража по возрастанию (включено «Упорядочить MIN-&gt;MAX» в меню «Тиражи»)</source>
        <translation>The draw's numbers ascending ("Sort MIN-&gt;MAX" is on in the "Draws" menu)</translation>
    </message>
    <message>
        <source>Числа:</source>
        <translation>Numbers:</translation>
    </message>
    <message>
        <source>Число %1 по дням недели</source>
        <translation>Number %1 by weekday</translation>
    </message>
    <message>
        <source>Число Карвела 1 (только разность)</source>
        <translation>Karvel number 1 (difference only)</translation>
    </message>
    <message>
        <source>Число Карвела 2 (разность + сложение, если {0,1})</source>
        <translation>Karvel number 2 (difference + sum if {0,1})</translation>
    </message>
    <message>
        <source>Число в %0:d позиции тиража</source>
        <translation>Number in position %0:d of the draw</translation>
    </message>
    <message>
        <source>Шаг</source>
        <translation>Step</translation>
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
        <source>Экспорт в CSV-файл...</source>
        <translation>Exporting to a CSV file...</translation>
    </message>
    <message>
        <source>Экспорт в Microsoft Excel</source>
        <translation>Export to Microsoft Excel</translation>
    </message>
    <message>
        <source>Экспорт в Microsoft Excel...</source>
        <translation>Exporting to Microsoft Excel...</translation>
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
        <source>Экспорт тиражей в файл "%s"...</source>
        <translation>Exporting draws to the file "%s"...</translation>
    </message>
    <message>
        <source>Электронная почта:</source>
        <translation>E-mail:</translation>
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
        <source>Эффективность для совпадений %1: %2 (меню «Эффективность (столбцы E0..n)»)</source>
        <translation>Efficiency for %1 matches: %2 (menu "Efficiency (columns E0..n)")</translation>
    </message>
    <message>
        <source>Эффективность фильтров</source>
        <translation>Filter survival</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Язык интерфейса</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>Язык:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Языковый модуль "%s" не найден!</source>
        <translation>Language module "%s" not found!</translation>
    </message>
    <message>
        <source>Языковый модуль "%s" поврежден и не может быть загружен!</source>
        <translation>Language module "%s" is damaged and cannot be loaded!</translation>
    </message>
    <message>
        <source>всего %d методов</source>
        <translation>%d methods in all</translation>
    </message>
    <message>
        <source>идея</source>
        <translation>idea</translation>
    </message>
    <message>
        <source>рядом соседнее число того же тиража</source>
        <translation>the next number of the same draw is beside it</translation>
    </message>
    <message>
        <source>такой повтор рядом с другим числом тиража</source>
        <translation>such a repeat next to another number of the draw</translation>
    </message>
    <message>
        <source>цвет канала</source>
        <translation>channel colour</translation>
    </message>
    <message>
        <source>число выпало и в соседнем тираже</source>
        <translation>the number also came in the neighbouring draw</translation>
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
