@echo off
rem Collects this user's Tarnwell environment report into a share, as a logon script or
rem a scheduled task ("At log on", run as the user): the report shows the settings of
rem the user it runs as. It writes COMPUTER-USER.txt (the report) and COMPUTER-USER.json
rem (the same as JSON, for "tarnwell_env.exe /summary") into the share and adds a line
rem to status.log there; when the share cannot be reached, the line goes to
rem %TEMP%\tarnwell_collect.log on the workstation instead.
rem   collect_report.cmd [SHARE]
rem The computer, user and share names may hold any character Windows allows (%, !, ^,
rem &, parentheses, spaces, letters outside the code page). Each is read once with %...%
rem and then used only inside double quotes or through a for variable, which cmd does
rem not expand again; delayed expansion stays off, as it would eat "!"; and no name
rem passes through "call", which expands "%" a second time and doubles "^".
setlocal DisableDelayedExpansion
rem The program beside this script, else where the deployment put it.
set "tool=%~dp0tarnwell_env.exe"
if not exist "%tool%" set "tool=C:\Tools\tarnwell_env\tarnwell_env.exe"
set "share=\\fileserver\support\tarnwell"
if not "%~1"=="" set "share=%~1"
set "computer=%COMPUTERNAME%"
set "user=%USERNAME%"
set "report=%share%\%computer%-%user%"

call :utc_now
set version=unknown
rem 9009, as cmd says of a command it cannot find: the program is not there.
set text_code=9009
set json_code=9009
if not exist "%tool%" goto :log
for /f "tokens=1,2" %%a in ('"%tool%" /version') do if "%%a"=="tarnwell_env" set "version=%%b"
call :names_kept
if errorlevel 1 goto :names_changed
rem A window program: "start /wait" waits for it and gives its exit code.
start "" /wait "%tool%" /report "%report%.txt"
set text_code=%errorlevel%
start "" /wait "%tool%" /report "%report%.json" /format:json
set json_code=%errorlevel%
goto :log

:names_changed
>&2 echo collect_report.cmd: not collected: this cmd changes the computer or user name as it reads it ("%%" inside it), so the report would be filed under another name.
set text_code=5
set json_code=5

:log
call :meaning %text_code% text_meaning
call :meaning %json_code% json_meaning
set "line=%utc% computer=%computer% user=%user% version=%version% text=%text_code% (%text_meaning%) json=%json_code% (%json_meaning%)"
set keep_locally=0
if %text_code%==4 set keep_locally=1
if %json_code%==4 set keep_locally=1
set "log=%share%\status.log"
call :append
if errorlevel 1 set keep_locally=1
if %keep_locally%==0 goto :exit_code
set "log=%TEMP%\tarnwell_collect.log"
call :append

:exit_code
rem The script's exit code is the higher of the two, as the codes rise from collected
rem (0) through already collected (2) and cannot be written (4) to names refused (5); a
rem negative one (the program crashed) comes first.
set code=%text_code%
if %json_code% gtr %code% set code=%json_code%
if %json_code% lss 0 set code=%json_code%
if %text_code% lss 0 set code=%text_code%
exit /b %code%

:names_kept
rem Exit code 1 when the computer or user name as read above differs from the name
rem itself. Windows' cmd reads both exactly; Wine's expands "%" again inside a value it
rem has just expanded ("50%off%" reads as "50"), which a second reading through "!"
rem does not, so the two differ and the name is refused rather than filed as another.
setlocal EnableDelayedExpansion
if not "!computer!"=="!COMPUTERNAME!" exit /b 1
if not "!user!"=="!USERNAME!" exit /b 1
exit /b 0

:append
rem Appends the line to the file "log" names; errorlevel 1 when the file did not grow,
rem the one sign of a failed write that Wine's cmd gives too. The line is written in
rem UTF-8 (code page 65001, switched back on the same line, as cmd reads the rest of a
rem batch file in the code page it has then) through a for variable, so that no
rem character of a name in it is read as syntax or lost to the code page.
set size=0
if exist "%log%" for %%f in ("%log%") do set size=%%~zf
set code_page=
for /f "tokens=2 delims=:." %%c in ('chcp') do set /a code_page=%%c
chcp 65001 >nul & (for %%l in ("%line%") do >>"%log%" echo %%~l) & chcp %code_page% >nul
if exist "%log%" for %%f in ("%log%") do if %%~zf gtr %size% exit /b 0
exit /b 1

:meaning
rem Sets the variable %2 to what the exit code %1 means.
set "%2=failed"
if "%1"=="0" set "%2=collected"
if "%1"=="1" set "%2=collected with messages"
if "%1"=="2" set "%2=already collected"
if "%1"=="3" set "%2=command line wrong"
if "%1"=="4" set "%2=cannot be written: share unreachable or no rights"
if "%1"=="5" set "%2=not collected: cmd changed the computer or user name as it read it"
if "%1"=="9009" set "%2=program not found"
exit /b 0

:utc_now
rem The time in UTC as ISO 8601 (2026-12-09T11:00:00Z), read as UTC from the system
rem clock: from PowerShell where it runs (Windows 7 and later), else from JScript through
rem cscript (Windows Script Host, in every Windows and in Wine, whose powershell prints
rem nothing); "unknown" when neither runs. Not wmic: recent Windows no longer has it,
rem and Wine's has no UTC time. cscript runs in %TEMP%, whose path holds the user name,
rem so that the command "for /f" hands to a second cmd holds no name for it to expand
rem again.
set utc=unknown
for /f %%t in ('powershell -NoProfile -NonInteractive -Command "[DateTime]::UtcNow.ToString('s')+'Z'" 2^>nul') do call :take_utc %%t
if not "%utc%"=="unknown" exit /b 0
set "js=tarnwell_utc_%RANDOM%.js"
> "%TEMP%\%js%" echo function d(n) { return ("0" + n).slice(-2) } var t = new Date();
>> "%TEMP%\%js%" echo WScript.Echo(t.getUTCFullYear() + "-" + d(t.getUTCMonth() + 1) + "-" + d(t.getUTCDate()) + "T" + d(t.getUTCHours()) + ":" + d(t.getUTCMinutes()) + ":" + d(t.getUTCSeconds()) + "Z")
pushd "%TEMP%"
for /f %%t in ('cscript //nologo "%js%" 2^>nul') do call :take_utc %%t
popd
del "%TEMP%\%js%" 2>nul
exit /b 0

:take_utc
rem Takes %1 as the time when it reads as one, not as a message in its place.
set "t=%~1"
if "%t:~4,1%%t:~10,1%%t:~19%"=="-TZ" if "%t:~20%"=="" set "utc=%t%"
exit /b 0
