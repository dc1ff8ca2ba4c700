; The installer's languages: NSIS's own pages come from its language files; these are the
; installer's own texts. Setup speaks the language Glimro's Options chose ("Language" under the
; product key) when there is one, else the user's Windows display language when Setup has
; it, else English.

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "Italian"
!insertmacro MUI_LANGUAGE "PortugueseBR"
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString FinishText ${LANG_ENGLISH} "${PRODUCT} has been installed.$\r$\n$\r$\nWhen you click Finish, its Album Manager opens on a new album. From now on ${PRODUCT} starts when you sign in."
LangString FinishText ${LANG_GERMAN} "${PRODUCT} wurde installiert.$\r$\n$\r$\nWenn Sie auf „Fertig stellen“ klicken, öffnet sich die Albenverwaltung mit einem neuen Album. Von nun an startet ${PRODUCT}, wenn Sie sich anmelden."
LangString FinishText ${LANG_FRENCH} "${PRODUCT} a été installé.$\r$\n$\r$\nQuand vous cliquez sur Fermer, son gestionnaire d'albums s'ouvre sur un nouvel album. Désormais, ${PRODUCT} démarre à l'ouverture de session."
LangString FinishText ${LANG_SPANISH} "${PRODUCT} se ha instalado.$\r$\n$\r$\nAl hacer clic en Terminar, se abre su administrador de álbumes con un álbum nuevo. A partir de ahora, ${PRODUCT} se inicia al iniciar sesión."
LangString FinishText ${LANG_ITALIAN} "${PRODUCT} è stato installato.$\r$\n$\r$\nFacendo clic su Fine si apre la gestione album su un nuovo album. D'ora in poi ${PRODUCT} si avvia all'accesso."
LangString FinishText ${LANG_PORTUGUESEBR} "O ${PRODUCT} foi instalado.$\r$\n$\r$\nAo clicar em Concluir, o gerenciador de álbuns abre em um álbum novo. A partir de agora o ${PRODUCT} inicia quando você entrar."
LangString FinishText ${LANG_POLISH} "Program ${PRODUCT} został zainstalowany.$\r$\n$\r$\nPo kliknięciu Zakończ otworzy się menedżer albumów z nowym albumem. Od teraz ${PRODUCT} uruchamia się po zalogowaniu."
LangString FinishText ${LANG_JAPANESE} "${PRODUCT} をインストールしました。$\r$\n$\r$\n[完了] をクリックすると、アルバム マネージャーが新しいアルバムで開きます。これからは、サインインすると ${PRODUCT} が起動します。"
LangString FinishText ${LANG_SIMPCHINESE} "${PRODUCT} 已安装。$\r$\n$\r$\n单击“完成”后，相册管理器将在一个新相册上打开。从现在起，${PRODUCT} 会在您登录时启动。"

LangString StillRunning ${LANG_ENGLISH} "${PRODUCT} is still running and could not be ended. Choose Exit Glimro on its notification-area icon, then run Setup again."
LangString StillRunning ${LANG_GERMAN} "${PRODUCT} läuft noch und konnte nicht beendet werden. Wählen Sie „Glimro beenden“ am Symbol im Infobereich und starten Sie Setup erneut."
LangString StillRunning ${LANG_FRENCH} "${PRODUCT} est toujours en cours d'exécution et n'a pas pu être arrêté. Choisissez Quitter Glimro sur son icône de la zone de notification, puis relancez l'installation."
LangString StillRunning ${LANG_SPANISH} "${PRODUCT} sigue en ejecución y no se pudo cerrar. Elija Salir de Glimro en su icono del área de notificación y vuelva a ejecutar el programa de instalación."
LangString StillRunning ${LANG_ITALIAN} "${PRODUCT} è ancora in esecuzione e non è stato possibile chiuderlo. Scegliere Esci da Glimro sulla sua icona nell'area di notifica, poi eseguire di nuovo l'installazione."
LangString StillRunning ${LANG_PORTUGUESEBR} "O ${PRODUCT} ainda está em execução e não pôde ser encerrado. Escolha Sair do Glimro no ícone da área de notificação e execute a instalação de novo."
LangString StillRunning ${LANG_POLISH} "Program ${PRODUCT} nadal działa i nie można go zakończyć. Wybierz Zakończ Glimro na jego ikonie w obszarze powiadomień, a potem uruchom instalatora ponownie."
LangString StillRunning ${LANG_JAPANESE} "${PRODUCT} は実行中で、終了できませんでした。通知領域のアイコンで [Glimro の終了] を選んでから、セットアップをもう一度実行してください。"
LangString StillRunning ${LANG_SIMPCHINESE} "${PRODUCT} 仍在运行，无法结束。请在其通知区域图标上选择“退出 Glimro”，然后重新运行安装程序。"

LangString NotReplaced ${LANG_ENGLISH} "${PRODUCT} could not be replaced in $INSTDIR (the file is in use or cannot be written). The copy you had is running again; close what holds the file and run Setup again."
LangString NotReplaced ${LANG_GERMAN} "${PRODUCT} konnte in $INSTDIR nicht ersetzt werden (die Datei wird verwendet oder kann nicht geschrieben werden). Ihre bisherige Kopie läuft wieder; schließen Sie, was die Datei hält, und starten Sie Setup erneut."
LangString NotReplaced ${LANG_FRENCH} "${PRODUCT} n'a pas pu être remplacé dans $INSTDIR (le fichier est utilisé ou ne peut pas être écrit). Votre copie fonctionne de nouveau ; fermez ce qui tient le fichier et relancez l'installation."
LangString NotReplaced ${LANG_SPANISH} "No se pudo reemplazar ${PRODUCT} en $INSTDIR (el archivo está en uso o no se puede escribir). La copia que tenía vuelve a funcionar; cierre lo que usa el archivo y vuelva a ejecutar el programa de instalación."
LangString NotReplaced ${LANG_ITALIAN} "Impossibile sostituire ${PRODUCT} in $INSTDIR (il file è in uso o non può essere scritto). La copia che avevi è di nuovo in esecuzione; chiudere ciò che tiene il file ed eseguire di nuovo l'installazione."
LangString NotReplaced ${LANG_PORTUGUESEBR} "Não foi possível substituir o ${PRODUCT} em $INSTDIR (o arquivo está em uso ou não pode ser gravado). A cópia que você tinha está em execução de novo; feche o que usa o arquivo e execute a instalação de novo."
LangString NotReplaced ${LANG_POLISH} "Nie można zastąpić programu ${PRODUCT} w $INSTDIR (plik jest używany lub nie można go zapisać). Poprzednia kopia znów działa; zamknij to, co używa pliku, i uruchom instalatora ponownie."
LangString NotReplaced ${LANG_JAPANESE} "$INSTDIR の ${PRODUCT} を置き換えられませんでした (ファイルが使用中か、書き込めません)。元のコピーが再び動いています。ファイルを使っているものを閉じて、セットアップをもう一度実行してください。"
LangString NotReplaced ${LANG_SIMPCHINESE} "无法替换 $INSTDIR 中的 ${PRODUCT}(文件正在使用或无法写入)。原有副本已重新运行；请关闭占用该文件的程序，然后重新运行安装程序。"

LangString UninstallRunning ${LANG_ENGLISH} "${PRODUCT} is still running and could not be ended. Choose Exit Glimro on its notification-area icon, then uninstall again."
LangString UninstallRunning ${LANG_GERMAN} "${PRODUCT} läuft noch und konnte nicht beendet werden. Wählen Sie „Glimro beenden“ am Symbol im Infobereich und deinstallieren Sie erneut."
LangString UninstallRunning ${LANG_FRENCH} "${PRODUCT} est toujours en cours d'exécution et n'a pas pu être arrêté. Choisissez Quitter Glimro sur son icône de la zone de notification, puis relancez la désinstallation."
LangString UninstallRunning ${LANG_SPANISH} "${PRODUCT} sigue en ejecución y no se pudo cerrar. Elija Salir de Glimro en su icono del área de notificación y vuelva a desinstalar."
LangString UninstallRunning ${LANG_ITALIAN} "${PRODUCT} è ancora in esecuzione e non è stato possibile chiuderlo. Scegliere Esci da Glimro sulla sua icona nell'area di notifica, poi disinstallare di nuovo."
LangString UninstallRunning ${LANG_PORTUGUESEBR} "O ${PRODUCT} ainda está em execução e não pôde ser encerrado. Escolha Sair do Glimro no ícone da área de notificação e desinstale de novo."
LangString UninstallRunning ${LANG_POLISH} "Program ${PRODUCT} nadal działa i nie można go zakończyć. Wybierz Zakończ Glimro na jego ikonie w obszarze powiadomień, a potem odinstaluj ponownie."
LangString UninstallRunning ${LANG_JAPANESE} "${PRODUCT} は実行中で、終了できませんでした。通知領域のアイコンで [Glimro の終了] を選んでから、もう一度アンインストールしてください。"
LangString UninstallRunning ${LANG_SIMPCHINESE} "${PRODUCT} 仍在运行，无法结束。请在其通知区域图标上选择“退出 Glimro”，然后重新卸载。"

LangString KeepAlbums ${LANG_ENGLISH} "Do you want to keep your albums? They are used again if you reinstall ${PRODUCT}."
LangString KeepAlbums ${LANG_GERMAN} "Möchten Sie Ihre Alben behalten? Sie werden wieder verwendet, wenn Sie ${PRODUCT} erneut installieren."
LangString KeepAlbums ${LANG_FRENCH} "Voulez-vous garder vos albums ? Ils seront repris si vous réinstallez ${PRODUCT}."
LangString KeepAlbums ${LANG_SPANISH} "¿Desea conservar sus álbumes? Se volverán a usar si reinstala ${PRODUCT}."
LangString KeepAlbums ${LANG_ITALIAN} "Conservare gli album? Verranno usati di nuovo se si reinstalla ${PRODUCT}."
LangString KeepAlbums ${LANG_PORTUGUESEBR} "Deseja manter os seus álbuns? Eles serão usados de novo se você reinstalar o ${PRODUCT}."
LangString KeepAlbums ${LANG_POLISH} "Czy zachować albumy? Zostaną użyte ponownie, jeśli zainstalujesz ${PRODUCT} jeszcze raz."
LangString KeepAlbums ${LANG_JAPANESE} "アルバムを残しますか? ${PRODUCT} を再インストールすると、また使われます。"
LangString KeepAlbums ${LANG_SIMPCHINESE} "要保留您的相册吗? 重新安装 ${PRODUCT} 后会再次使用它们。"

; The Options choice, as the tags Glimro stores; anything else leaves NSIS's own choice.
!macro ChooseStoredLanguage
    ReadRegStr $0 HKCU "${PRODUCT_KEY}" "Language"
    ${Select} $0
        ${Case} "en-US"
            StrCpy $LANGUAGE ${LANG_ENGLISH}
        ${Case} "de-DE"
            StrCpy $LANGUAGE ${LANG_GERMAN}
        ${Case} "fr-FR"
            StrCpy $LANGUAGE ${LANG_FRENCH}
        ${Case} "es-ES"
            StrCpy $LANGUAGE ${LANG_SPANISH}
        ${Case} "it-IT"
            StrCpy $LANGUAGE ${LANG_ITALIAN}
        ${Case} "pt-BR"
            StrCpy $LANGUAGE ${LANG_PORTUGUESEBR}
        ${Case} "pl-PL"
            StrCpy $LANGUAGE ${LANG_POLISH}
        ${Case} "ja-JP"
            StrCpy $LANGUAGE ${LANG_JAPANESE}
        ${Case} "zh-CN"
            StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
    ${EndSelect}
!macroend
