#include "platform/Status.h"

#include <cerrno>
#include <cstring>

namespace olvane::platform {

std::string describeErrno(int error) {
    switch (error) {
        case ENOENT:
            return "Aucun fichier ou dossier de ce nom";
        case EACCES:
            return "Permission refusée";
        case EPERM:
            return "Opération non permise";
        case EEXIST:
            return "Le fichier existe déjà";
        case ENOTDIR:
            return "N’est pas un dossier";
        case EISDIR:
            return "Est un dossier";
        case ENOSPC:
            return "Plus d’espace disponible sur le disque";
        case EROFS:
            return "Système de fichiers en lecture seule";
        case EDQUOT:
            return "Quota de disque dépassé";
        case EIO:
            return "Erreur d’entrée-sortie";
        case ENAMETOOLONG:
            return "Nom de fichier trop long";
        case ELOOP:
            return "Trop de liens symboliques";
        case EFBIG:
            return "Fichier trop volumineux";
        case ESRCH:
            return "Aucun processus de ce numéro";
        case ENOSYS:
            return "Fonction non implantée";
        case EMFILE:
            return "Trop de fichiers ouverts";
        default:
            return std::strerror(error);
    }
}

Status errnoFailure(const ComposedText& what, int error) {
    return Status::failure(what + " : " + ComposedText(describeErrno(error)));
}

}  // namespace olvane::platform
