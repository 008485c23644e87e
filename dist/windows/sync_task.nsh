; The installer's optional component: qlok-sync.exe as a scheduled task that runs as SYSTEM at
; start-up and every 4 hours, in %ProgramData%\QLOK (made here, with a copy of the help file):
; the place for "QLOK servers.ini", and where QLOK.log grows. The task is defined in XML, UTF-16
; as Task Scheduler reads it, written in parts (an installer's strings hold 1024 characters) to
; "QLOK sync task.xml" beside the programs, where it stays for a look or a later import.
; "/TASK" chooses the component in a silent install.
Section /o "Synchronise every 4 hours, also when nobody is logged on" SecSyncTask
  StrCpy $R9 $SMPROGRAMS
  SetShellVarContext all
  StrCpy $R7 "$APPDATA\QLOK"
  StrCmp $R9 $SMPROGRAMS +2
    SetShellVarContext current
  CreateDirectory $R7
  CopyFiles /SILENT "$INSTDIR\QLOK instructions.txt" $R7
  FileOpen $R8 "$INSTDIR\QLOK sync task.xml" w
  FileWriteWord $R8 0xFEFF
  FileWriteUTF16LE $R8 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n\
<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n\
  <RegistrationInfo>$\r$\n\
    <Description>QLOK: sets the clock from the first server of QLOK servers.ini in $R7</Description>$\r$\n\
  </RegistrationInfo>$\r$\n'
  FileWriteUTF16LE $R8 '\
  <Triggers>$\r$\n\
    <BootTrigger>$\r$\n\
      <Delay>PT2M</Delay>$\r$\n\
    </BootTrigger>$\r$\n\
    <TimeTrigger>$\r$\n\
      <StartBoundary>2000-01-01T00:17:00</StartBoundary>$\r$\n\
      <Repetition>$\r$\n\
        <Interval>PT4H</Interval>$\r$\n\
      </Repetition>$\r$\n\
    </TimeTrigger>$\r$\n\
  </Triggers>$\r$\n'
  FileWriteUTF16LE $R8 '\
  <Principals>$\r$\n\
    <Principal id="System">$\r$\n\
      <UserId>S-1-5-18</UserId>$\r$\n\
      <RunLevel>HighestAvailable</RunLevel>$\r$\n\
    </Principal>$\r$\n\
  </Principals>$\r$\n\
  <Settings>$\r$\n\
    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>$\r$\n\
    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>$\r$\n\
    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>$\r$\n\
    <StartWhenAvailable>true</StartWhenAvailable>$\r$\n\
    <ExecutionTimeLimit>PT10M</ExecutionTimeLimit>$\r$\n\
  </Settings>$\r$\n'
  FileWriteUTF16LE $R8 '\
  <Actions Context="System">$\r$\n\
    <Exec>$\r$\n\
      <Command>"$INSTDIR\qlok-sync.exe"</Command>$\r$\n\
      <WorkingDirectory>$R7</WorkingDirectory>$\r$\n\
    </Exec>$\r$\n\
  </Actions>$\r$\n\
</Task>$\r$\n'
  FileClose $R8
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Create /F /TN "QLOK sync" /XML "$INSTDIR\QLOK sync task.xml"'
  Pop $R8
  StrCmp $R8 0 +3
    DetailPrint "Task Scheduler did not take the task (schtasks: $R8)"
    SetErrorLevel 2
SectionEnd
