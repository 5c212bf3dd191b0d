@echo off
rem Trivo Studio: the quizzes of Documents\Quiz Trivo, made and edited in the browser.
rem This window serves the studio; the page's Quitter button, or closing the window, stops it.
set "WORKSPACE=%USERPROFILE%\Documents\Quiz Trivo"
if not exist "%WORKSPACE%" mkdir "%WORKSPACE%"
"%~dp0trivo-make.exe" studio "%WORKSPACE%"
if errorlevel 1 pause
