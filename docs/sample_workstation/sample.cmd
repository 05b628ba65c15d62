@echo off
rem Makes a sample Tarnwell workstation for tarnwell_env: the suite folder with its
rem data files (empty stand-ins), then the settings of sample.reg.
setlocal
set suite=C:\Bin\Tarnwell
if not exist "%suite%\tbl" mkdir "%suite%\tbl"
for %%f in (GeoTIFF_PCS_codes.csv plotwick.ini projection.csv datum.csv EPSG_v10.mdb) do (
  if not exist "%suite%\%%f" type nul > "%suite%\%%f"
)
if not exist C:\Models mkdir C:\Models
reg import "%~dp0sample.reg"
