; Quenz.iss's texts in German, as an author's .isl file gives them.
[CustomMessages]
QuenzJavaRunning=Dalmivorax (Java-Edition) läuft.
QuenzWindowsRunning=Dalmivorax (Windows-Edition) läuft.
QuenzCloseIt=Beenden Sie es und klicken Sie auf Wiederholen, oder auf Abbrechen, um nichts zu ändern.
QuenzCannotCheck=Es ließ sich nicht prüfen, ob Dalmivorax läuft; nichts wurde geändert.
QuenzUnreachableDir=Quenz kann den Namen dieses Ordners nicht empfangen, auch keinen kurzen (8.3): %1
QuenzNotStarted=Quenz ließ sich nicht ausführen: %1 (%2)
QuenzNoVerdict=Quenz gab keine gültige Antwort; Exitcode: %1
QuenzTimedOut=Quenz endete nicht rechtzeitig und wurde beendet; Millisekunden: %1
