@echo off
rem Collects this user's Tarnwell environment report into a share, as a logon script or
rem a scheduled task ("At log on", run as the user): the report shows the settings of
rem the user it runs as. Adjust the two paths; the status goes to status.log there.
setlocal
set tool=C:\Tools\tarnwell_env\tarnwell_env.exe
set share=\\fileserver\support\tarnwell
if not "%~1"=="" set share=%~1
set file=%share%\%COMPUTERNAME%-%USERNAME%.txt
rem A window program: "start /wait" waits for it and gives its exit code.
start "" /wait "%tool%" /report "%file%"
set code=%errorlevel%
if %code%==0 set status=collected
if %code%==1 set status=collected, with messages at the end of the report
if %code%==2 set status=not written: share unreachable, or already collected
if %code%==3 set status=not written: this script's command line is wrong
echo %COMPUTERNAME% %USERNAME% %code% %status%>> "%share%\status.log"
exit /b %code%
